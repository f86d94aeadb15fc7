// OpenAL Soft as the saver uses it, heard through its wave output.
#include "linux/openal_device.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/sound_device_contract.h"
#include "common/temp_path.h"

namespace driftglass {
namespace {

TEST(OpenAlDevice, PlaysAsToldAndFadesWithDistanceAsDirectSoundDoes) {
  const std::string heardPath = UniqueTempPath("openal-heard", ".wav").string();
  const std::string conf = UniqueTempPath("openal", ".conf").string();
  std::ofstream(conf) << "[general]\nhrtf = false\n[wave]\nfile = " << heardPath << "\n";
  setenv("ALSOFT_DRIVERS", "wave", 1);
  setenv("ALSOFT_CONF", conf.c_str(), 1);
  OpenAlDevice device;
  ASSERT_TRUE(device.Open()) << device.OpenFailure();
  // Inverse distance, clamped: DirectSound's own rule.
  EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_INVERSE_DISTANCE_CLAMPED);
  ExpectPlayedAsTold(device, heardPath);
}

}  // namespace
}  // namespace driftglass

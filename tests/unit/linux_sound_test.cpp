// The Linux sound: OpenAL Soft as the saver uses it, heard through its wave output, and the
// display's sound claim.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/sound_device_contract.h"
#include "common/temp_path.h"
#include "linux/linux_paths.h"
#include "linux/linux_sound_claim.h"
#include "linux/openal_device.h"

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

// One instance at a time holds the sound, a preview can tell that a full-screen saver runs, and
// the screens of one display share one claim. Each instance is an object of its own here: a
// lock belongs to the file opened, not the process.
TEST(LinuxSoundClaim, OneInstanceOnADisplayHoldsTheSoundAndAPreviewSeesAFullScreenSaverRun) {
  const std::string folder = UniqueTempPath("claims", "").string();
  const auto on = [&](const char* display, bool blanksScreen = false) {
    const XdgEnvironment xdg{"", "", "", folder, display};  // no home, state or config
    return std::make_unique<LinuxSoundClaim>(DisplayLockPath(xdg, "sound"),
                                             DisplayLockPath(xdg, "full-screen"), blanksScreen);
  };
  const auto preview = on(":7.0");
  ASSERT_TRUE(preview->Take());
  EXPECT_FALSE(preview->FullScreenRuns());
  auto full = on(":7.1", true);  // another screen of the same display
  EXPECT_FALSE(full->Take());
  EXPECT_TRUE(preview->FullScreenRuns());
  EXPECT_TRUE(on(":8")->Take());  // another display
  full.reset();
  EXPECT_FALSE(preview->FullScreenRuns());  // the full-screen saver has ended
  preview->Give();
  EXPECT_TRUE(on(":7")->Take());
}

}  // namespace
}  // namespace driftglass

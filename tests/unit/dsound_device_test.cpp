// DirectSound as the saver uses it, under Wine, heard through ALSA's file device: this test
// runs with a home whose default output records to DRIFTGLASS_HEARD.
#include "windows/dsound_device.h"

#include <windows.h>

#include <filesystem>

#include "common/sound_device_contract.h"

namespace driftglass {
namespace {

TEST(DirectSoundDevice, PlaysAsTold) {
  std::filesystem::remove(DRIFTGLASS_HEARD);  // a recording left by the run before
  DirectSoundDevice device(GetDesktopWindow());
  ASSERT_TRUE(device.Open()) << device.OpenFailure();
  ExpectPlayedAsTold(device, DRIFTGLASS_HEARD);
}

}  // namespace
}  // namespace driftglass

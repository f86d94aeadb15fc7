// OpenAL Soft as the saver uses it, heard through its wave output: volumes become the gains
// they stand for, a playing loop carries on, and a sound on the right plays on the right.
#include "sound/openal_device.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/sound_checks.h"
#include "sound/sound_manager.h"

namespace driftglass {
namespace {

TEST(OpenAlDevice, VolumesBecomeGainsAndPositionsPanTheSound) {
  using namespace std::chrono_literals;
  const auto folder = std::filesystem::path(::testing::TempDir());
  const std::string heardPath = (folder / "openal-heard.wav").string();
  const std::string conf = (folder / "openal-test.conf").string();
  std::ofstream(conf) << "[general]\nhrtf = false\n[wave]\nfile = " << heardPath << "\n";
  setenv("ALSOFT_DRIVERS", "wave", 1);
  setenv("ALSOFT_CONF", conf.c_str(), 1);
  {
    OpenAlDevice device;
    SoundManager sounds(device);
    ASSERT_TRUE(sounds.Audible());
    // Sound fades with distance as DirectSound's does: inverse distance, clamped.
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_INVERSE_DISTANCE_CLAMPED);
    SoundObject* loop = sounds.CreateSoundFromResource(116);
    ASSERT_NE(loop, nullptr);
    loop->SetVolume(-4000);
    loop->PlayLooping();
    std::this_thread::sleep_for(1s);
    loop->SetVolume(-2000);
    loop->PlayLooping();  // already playing: it carries on
    std::this_thread::sleep_for(1s);
    loop->SetPosition(Vector3(3, 0, 0));
    std::this_thread::sleep_for(1s);
    sounds.Release();
  }
  e2e::Recording heard;
  ASSERT_TRUE(e2e::ReadWav(heardPath, heard));
  const double t = heard.FirstSound();
  ASSERT_GE(t, 0.0);
  // A second apart the loop is at the same place in itself: only the volume differs.
  EXPECT_NEAR(heard.RmsDb(t + 1.15, t + 1.85) - heard.RmsDb(t + 0.15, t + 0.85), 20, 1);
  // Three to the right and a little farther away: the right channel carries it.
  EXPECT_GT(heard.RmsDb(t + 2.15, t + 2.85, 1), heard.RmsDb(t + 2.15, t + 2.85, 0) + 6);
}

}  // namespace
}  // namespace driftglass

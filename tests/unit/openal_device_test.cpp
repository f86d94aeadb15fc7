// OpenAL Soft as the saver uses it, heard through its wave output: volumes become the gains
// they stand for, a playing loop carries on, and a sound on the right plays on the right.
#include "linux/openal_device.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/support/sound_checks.h"
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
  // Waits until the wave output has mixed `seconds` more sound, by its file's growth at the
  // byte rate its header gives: a busy machine mixes later, never less.
  const auto mixed = [&](double seconds) {
    const auto size = [&] {
      std::error_code error;
      const auto bytes = std::filesystem::file_size(heardPath, error);
      return error ? 0.0 : static_cast<double>(bytes);
    };
    while (size() < 44) std::this_thread::sleep_for(10ms);
    uint32_t byteRate = 0;
    std::ifstream header(heardPath, std::ios::binary);
    header.seekg(28);
    header.read(reinterpret_cast<char*>(&byteRate), sizeof byteRate);
    ASSERT_GT(byteRate, 0u);
    const double until = size() + seconds * byteRate;
    while (size() < until) std::this_thread::sleep_for(10ms);
  };
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
    mixed(1);
    loop->SetVolume(-2000);
    loop->PlayLooping();  // already playing: it carries on
    mixed(1);
    loop->SetPosition(Vector3(3, 0, 0));
    mixed(1);
  }
  e2e::Recording heard;
  ASSERT_TRUE(e2e::ReadWav(heardPath, heard));
  const double start = heard.FirstSound(), end = heard.LastSound();
  ASSERT_GE(start, 0.0);
  // The wave output mixes in real time on a thread of its own, which a busy machine delays:
  // when each change was heard is not known, only that each was heard for a while. So every
  // 50 ms of the recording is sorted by its gain over the loop's own samples at the same
  // place (the loop is one second long) and by how much louder the right channel is.
  constexpr double kWindow = 0.05;
  const std::string loop = DRIFTGLASS_SOURCE_DIR "/resources/sounds/ambient.pcm";
  const auto gain = [&](double t) {
    const double phase = std::fmod(t - start, 1.0);
    return heard.RmsDb(t, t + kWindow) - e2e::PcmRmsDb(loop, phase, phase + kWindow);
  };
  const auto rightOverLeft = [&](double t) {
    return heard.RmsDb(t, t + kWindow, 1) - heard.RmsDb(t, t + kWindow, 0);
  };
  const double quiet = gain(start);
  int louder = 0, right = 0;
  for (double t = start; t + kWindow <= end; t += kWindow) {
    const bool centred = std::abs(rightOverLeft(t)) < 1;
    louder += centred && std::abs(gain(t) - (quiet + 20)) < 1;
    right += rightOverLeft(t) > 6;
  }
  // It started centred, 40 dB down; -20 dB is 20 dB louder than -40; three to the right and a
  // little farther away, the right channel carries it.
  EXPECT_LT(std::abs(rightOverLeft(start)), 1);
  EXPECT_NEAR(quiet, -44, 1.2);  // -40 dB from the middle: 3 to 5 dB less in each channel
  EXPECT_GE(louder, 4);
  EXPECT_GE(right, 4);
}

}  // namespace
}  // namespace driftglass

// What every sound device does, heard through a recording of its output: a tone starts at
// the volume it is given, a loop told to play again carries on louder, and a sound placed to
// the right is heard on the right. OpenAL Soft records through its wave output, DirectSound
// under Wine through ALSA's file device; each mixes in real time on a thread of its own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>

#include "e2e/support/sound_checks.h"
#include "platform/sound_device.h"

namespace driftglass {

// The size of the recording at `path` in bytes, 0 while there is none.
inline double RecordedBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  return file ? static_cast<double>(file.tellg()) : 0.0;
}

// Waits until the recording at `path` holds `seconds` more sound, by its growth at the byte
// rate its header gives: a busy machine mixes later, never less. A device that records
// nothing at all fails after half a minute.
inline void WaitUntilMixed(const std::string& path, double seconds) {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  const auto waitFor = [&](double bytes) {
    while (RecordedBytes(path) < bytes) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << path << " stopped growing";
      std::this_thread::sleep_for(10ms);
    }
  };
  ASSERT_NO_FATAL_FAILURE(waitFor(44));
  uint32_t byteRate = 0;
  std::ifstream header(path, std::ios::binary);
  header.seekg(28);
  header.read(reinterpret_cast<char*>(&byteRate), sizeof byteRate);
  ASSERT_GT(byteRate, 0u) << path;
  waitFor(RecordedBytes(path) + seconds * byteRate);
}

// Loops a quarter of a second of a 440 Hz tone at half of full scale (-9 dBFS) on the opened
// `device`, a second each: 40 dB down, then 20 dB down, then three to the right; closes the
// device and checks what was recorded at `heardPath` (which the caller removed before the
// device opened).
inline void ExpectPlayedAsTold(SoundDevice& device, const std::string& heardPath) {
  constexpr uint32_t kBytes = 22050;
  {
    std::unique_ptr<SoundBuffer> tone = device.CreateBuffer(kBytes);
    ASSERT_NE(tone, nullptr);
    void* data = nullptr;
    uint32_t bytes = 0;
    ASSERT_TRUE(tone->Lock(data, bytes));
    ASSERT_EQ(bytes, kBytes);
    auto* samples = static_cast<int16_t*>(data);
    for (uint32_t i = 0; i < bytes / 2; ++i) {
      samples[i] = static_cast<int16_t>(16384 * std::sin(6.283185307179586 * 440 * i / 44100.0));
    }
    ASSERT_TRUE(tone->Unlock(data, bytes));
    tone->SetVolume(-4000);
    tone->Play(true);
    ASSERT_NO_FATAL_FAILURE(WaitUntilMixed(heardPath, 1));
    tone->SetVolume(-2000);
    tone->Play(true);  // told again while it plays: it goes on looping
    ASSERT_NO_FATAL_FAILURE(WaitUntilMixed(heardPath, 1));
    tone->SetPosition(3, 0, 0);
    ASSERT_NO_FATAL_FAILURE(WaitUntilMixed(heardPath, 1));
  }
  device.Close();
  e2e::Recording heard;
  ASSERT_TRUE(e2e::ReadWav(heardPath, heard));
  const double start = heard.FirstSound(), end = heard.LastSound();
  ASSERT_GE(start, 0.0);
  // When each change was heard is not known, only that each was heard for a while: every
  // 50 ms of the recording is sorted by its gain over the tone's own level and by how much
  // louder the right channel is.
  constexpr double kWindow = 0.05, kToneDb = -9.03;
  const auto gain = [&](double t) { return heard.RmsDb(t, t + kWindow) - kToneDb; };
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
  // It started centred, 40 dB down from the middle (3 to 5 dB less in each channel); -20 dB
  // is 20 dB louder; three to the right and a little farther away, the right channel
  // carries it. A tone that did not loop would have been heard a quarter of a second.
  EXPECT_LT(std::abs(rightOverLeft(start)), 1);
  EXPECT_NEAR(quiet, -44, 1.2);
  EXPECT_GE(louder, 10);
  EXPECT_GE(right, 10);
}

}  // namespace driftglass

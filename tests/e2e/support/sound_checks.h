// Listening to what the programs played: a WAV recording (OpenAL's wave output, or ALSA's
// file device under Wine) as samples, and its loudness over a stretch of time.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The whole of a file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

struct Recording {
  int channels = 0;
  int rate = 0;
  std::vector<float> samples;  // interleaved, -1 ... 1
  // The time of the first sample that is not silence, in seconds; -1 when all is silent.
  double FirstSound() const;
  // The time just after the last sample that is not silence; -1 when all is silent.
  double LastSound() const;
  // The loudness from `from` to `to` seconds, in dB of full scale: of every channel, or of
  // one channel.
  double RmsDb(double from, double to, int channel = -1) const;
};

// Reads 16-bit integer or 32-bit float samples; false when the file is no such WAV.
bool ReadWav(const std::string& path, Recording& recording);

}  // namespace e2e

// WAV reading and loudness for the end-to-end tests.
#include "sound_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace e2e {
namespace {

template <typename T>
T At(const std::string& bytes, size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

}  // namespace

// Here rather than beside the processes: the Windows sound test, which has no processes,
// reads its recording with it too.
std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool ReadWav(const std::string& path, Recording& recording) {
  const std::string bytes = ReadFile(path);
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return false;
  uint16_t tag = 0, bits = 0;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = At<uint32_t>(bytes, at + 4);
    if (id == "fmt " && at + 24 <= bytes.size()) {
      tag = At<uint16_t>(bytes, at + 8);
      recording.channels = At<uint16_t>(bytes, at + 10);
      recording.rate = static_cast<int>(At<uint32_t>(bytes, at + 12));
      bits = At<uint16_t>(bytes, at + 22);
    } else if (id == "data") {
      // A recording still open may not have said its length yet (0 or all ones).
      const bool unsaid = size == 0 || size == 0xFFFFFFFFu;
      const size_t end = unsaid ? bytes.size() : std::min<size_t>(bytes.size(), at + 8 + size);
      const bool floats = bits == 32 && (tag == 3 || tag == 0xFFFE);
      if (!floats && !(tag == 1 && bits == 16)) return false;
      for (size_t p = at + 8; p + bits / 8 <= end; p += bits / 8) {
        recording.samples.push_back(floats ? At<float>(bytes, p)
                                           : At<int16_t>(bytes, p) / 32768.0f);
      }
      return recording.channels > 0 && recording.rate > 0;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

double Recording::FirstSound() const {
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(samples[i]) > 1e-5f) return static_cast<double>(i / channels) / rate;
  }
  return -1;
}

double Recording::LastSound() const {
  for (size_t i = samples.size(); i > 0; --i) {
    if (std::abs(samples[i - 1]) > 1e-5f) return static_cast<double>((i - 1) / channels + 1) / rate;
  }
  return -1;
}

double Recording::RmsDb(double from, double to, int channel) const {
  const size_t first = static_cast<size_t>(from * rate), last = static_cast<size_t>(to * rate);
  double sum = 0;
  size_t count = 0;
  for (size_t frame = first; frame < last && (frame + 1) * channels <= samples.size(); ++frame) {
    for (int c = 0; c < channels; ++c) {
      if (channel != -1 && c != channel) continue;
      const double s = samples[frame * channels + c];
      sum += s * s;
      ++count;
    }
  }
  return count == 0 ? -200 : 20 * std::log10(std::sqrt(sum / count) + 1e-12);
}

}  // namespace e2e

// The platform services as the headless unit tests see them: no picture codec, and of the
// resources only the two sounds, as sample bytes that count up (so a copy can be checked).
#include <string_view>
#include <vector>

#include "foundation/jpeg_decoder.h"
#include "foundation/resources.h"

namespace driftglass {

ResourceBytes FindResourceBytes(const char* typeName, int id) {
  static const std::vector<unsigned char> ambient = [] {
    std::vector<unsigned char> bytes(88200);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i);
    return bytes;
  }();
  static const std::vector<unsigned char> wings(105512, 7);
  if (std::string_view(typeName) != "SoundSamples") return {};
  if (id == 116) return {ambient.data(), ambient.size()};
  if (id == 117) return {wings.data(), wings.size()};
  return {};
}

bool DecodeJpeg(const unsigned char*, size_t, int&, int&, std::vector<uint32_t>&) {
  return false;
}

}  // namespace driftglass

// The platform as the headless unit tests see it: of the resources only the two sounds, as
// sample bytes that count up (so a copy can be checked), no picture codec, and the real
// platform's log-file claim, which the event log's tests use.
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include "windows/win32_platform.h"
#else
#include "linux/linux_platform.h"
#endif

namespace driftglass {
namespace {

ResourceBytes FindTestResource(const char* typeName, int id) {
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

const bool kTestPlatformInUse = [] {
  PlatformServices services = NullPlatform();
  services.findResource = FindTestResource;
#if defined(_WIN32)
  services.claimLogFile = ClaimSharedLogFile;
#else
  services.claimLogFile = ClaimLockedLogFile;
#endif
  UsePlatform(services);
  return true;
}();

}  // namespace
}  // namespace driftglass

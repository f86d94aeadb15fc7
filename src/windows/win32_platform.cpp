// The Windows platform's table of services.
#include "windows/win32_platform.h"

namespace driftglass {
namespace {

// A screen saver has no console to tell anything on: the log holds it all.
void TellNobody(const char*) {}

}  // namespace

const PlatformServices& Win32Platform() {
  static constexpr PlatformServices kServices{FindModuleResource, ClaimSharedLogFile, TellNobody};
  return kServices;
}

}  // namespace driftglass

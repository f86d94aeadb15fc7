// The Windows platform's table of services.
#include "windows/win32_platform.h"

namespace driftglass {

const PlatformServices& Win32Platform() {
  static constexpr PlatformServices kServices{FindModuleResource, ClaimSharedLogFile};
  return kServices;
}

}  // namespace driftglass

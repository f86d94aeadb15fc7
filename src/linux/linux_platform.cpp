// The Linux platform's table of services.
#include "linux/linux_platform.h"

#include "linux/embedded_resources.h"

namespace driftglass {

const PlatformServices& LinuxPlatform() {
  static constexpr PlatformServices kServices{FindEmbeddedResource, ClaimLockedLogFile};
  return kServices;
}

}  // namespace driftglass

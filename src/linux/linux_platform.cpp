// The Linux platform's table of services.
#include "linux/linux_platform.h"

#include <cstdio>

#include "linux/embedded_resources.h"

namespace driftglass {

void TellOnStandardError(const char* line) {
  std::fprintf(stderr, "driftglass: %s\n", line);
}

const PlatformServices& LinuxPlatform() {
  static constexpr PlatformServices kServices{FindEmbeddedResource, ClaimLockedLogFile,
                                              TellOnStandardError};
  return kServices;
}

}  // namespace driftglass

// Tests of the Linux platform's own pieces run on its services: the resources compiled into
// the test program, libjpeg-turbo and the locked log file.
#include "linux/linux_platform.h"

namespace {

const bool kLinuxPlatformInUse = [] {
  driftglass::UsePlatform(driftglass::LinuxPlatform());
  return true;
}();

}  // namespace

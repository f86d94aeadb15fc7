// A platform table in use for one scope: the one before comes back however the scope ends,
// a failed assertion's early return included.
#pragma once

#include "platform/services.h"

class ScopedPlatform {
 public:
  explicit ScopedPlatform(const driftglass::PlatformServices& services) {
    driftglass::UsePlatform(services);
  }
  ~ScopedPlatform() { driftglass::UsePlatform(before_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  const driftglass::PlatformServices before_ = driftglass::Platform();
};

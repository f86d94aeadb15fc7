// The platform table in use, and the null platform it starts as.
#include "platform/services.h"

namespace driftglass {
namespace {

ResourceBytes FindNoResource(const char*, int) {
  return {};
}

std::FILE* OpenLogFile(const std::filesystem::path& path, bool& busy) {
  busy = false;
  return std::fopen(path.string().c_str(), "w");
}

void TellNobody(const char*) {}

constexpr PlatformServices kNullPlatform{FindNoResource, OpenLogFile, TellNobody};

// Constant-initialised, so a program may hand over its table from a static initialiser.
constinit PlatformServices current = kNullPlatform;

}  // namespace

const PlatformServices& NullPlatform() {
  return kNullPlatform;
}

void UsePlatform(const PlatformServices& services) {
  current = services;
}

const PlatformServices& Platform() {
  return current;
}

}  // namespace driftglass

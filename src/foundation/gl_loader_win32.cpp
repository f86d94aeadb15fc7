// The GL 2.0 entry-point loader for Windows (GLEW is not built for this toolchain).
#include "foundation/gl_loader_win32.h"

#include <windows.h>

#include <cstdio>

#define DRIFTGLASS_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
DRIFTGLASS_GL_ENTRY_POINTS(DRIFTGLASS_DEFINE_ENTRY_POINT)
DRIFTGLASS_GL_FRAMEBUFFER_ENTRY_POINTS(DRIFTGLASS_DEFINE_ENTRY_POINT)
#undef DRIFTGLASS_DEFINE_ENTRY_POINT

namespace driftglass {
namespace {

bool allEntryPointsFound = false;
bool framebufferEntryPointsFound = false;

// wglGetProcAddress answers some drivers' misses with small integers instead of null.
PROC Lookup(const char* name) {
  PROC address = wglGetProcAddress(name);
  const auto value = reinterpret_cast<INT_PTR>(address);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) return nullptr;
  return address;
}

}  // namespace

bool LoadGlEntryPoints() {
  bool found = true;
#define DRIFTGLASS_LOAD_ENTRY_POINT(type, name)                               \
  name = reinterpret_cast<type>(reinterpret_cast<void (*)()>(Lookup(#name))); \
  found = found && name != nullptr;
  DRIFTGLASS_GL_ENTRY_POINTS(DRIFTGLASS_LOAD_ENTRY_POINT)
  allEntryPointsFound = found;
  found = true;
  DRIFTGLASS_GL_FRAMEBUFFER_ENTRY_POINTS(DRIFTGLASS_LOAD_ENTRY_POINT)
  framebufferEntryPointsFound = found;
#undef DRIFTGLASS_LOAD_ENTRY_POINT
  // A context without the 2.0 functions is still a working context: the version check
  // reports it, so only a context that answers nothing at all fails here.
  return glGetString(GL_VERSION) != nullptr;
}

bool GlVersion20Available() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0;
  int minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) return false;
  return major >= 2 && allEntryPointsFound;
}

bool FramebufferObjectsAvailable() {
  return framebufferEntryPointsFound;
}

}  // namespace driftglass

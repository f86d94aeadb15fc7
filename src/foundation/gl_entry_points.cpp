// The entry points past OpenGL 1.1, for the build without GLEW (Windows: GLEW is not built
// for its toolchain).
#include "foundation/gl_entry_points.h"

#include <cstdio>

#define DRIFTGLASS_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
DRIFTGLASS_GL_ENTRY_POINTS(DRIFTGLASS_DEFINE_ENTRY_POINT)
DRIFTGLASS_GL_FRAMEBUFFER_ENTRY_POINTS(DRIFTGLASS_DEFINE_ENTRY_POINT)
#undef DRIFTGLASS_DEFINE_ENTRY_POINT

namespace driftglass {
namespace {

bool allEntryPointsFound = false;
bool framebufferEntryPointsFound = false;

}  // namespace

bool LoadGlEntryPoints(GlProcLookup lookup) {
  bool found = true;
#define DRIFTGLASS_LOAD_ENTRY_POINT(type, name) \
  name = reinterpret_cast<type>(lookup(#name)); \
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

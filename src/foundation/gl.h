// The OpenGL API as the portable code sees it: GL 1.1 with the 2.0 entry points, framebuffer
// objects where the context has them, and GLU. Linux loads the entry points with GLEW; the
// Windows build has a small loader of its own.
#pragma once

#if defined(_WIN32)
#include "foundation/gl_entry_points.h"
// after the entry points, which keep the system's GL header from pulling in <windows.h>
#include <GL/glu.h>
#else
#include <GL/glew.h>
#include <GL/glu.h>

namespace driftglass {

// Framebuffer objects and glBlitFramebuffer, from OpenGL 3.0 or ARB_framebuffer_object (the
// same entry points), once GLEW knows the current context.
inline bool FramebufferObjectsAvailable() {
  return GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object;
}

}  // namespace driftglass
#endif

// The OpenGL API as the portable code sees it: GL 1.1 with the 2.0 entry points, and GLU.
// Linux loads the entry points with GLEW; the Windows build has a small loader of its own.
#pragma once

#if defined(_WIN32)
#include "foundation/gl_loader_win32.h"
#else
#include <GL/glew.h>
#endif
#include <GL/glu.h>

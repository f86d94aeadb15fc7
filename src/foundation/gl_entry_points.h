// OpenGL where the system's header stops at 1.1 (Windows): that header without <windows.h>,
// and the entry points past it as function pointers that LoadGlEntryPoints fills, through the
// platform's lookup, once a context is current. Render thread only.
#pragma once

#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#include <GL/gl.h>
#include <GL/glext.h>

// Every entry point past OpenGL 1.1 that the program calls.
#define DRIFTGLASS_GL_ENTRY_POINTS(X)                              \
  X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                       \
  X(PFNGLATTACHSHADERPROC, glAttachShader)                         \
  X(PFNGLBINDBUFFERPROC, glBindBuffer)                             \
  X(PFNGLBUFFERDATAPROC, glBufferData)                             \
  X(PFNGLBUFFERSUBDATAPROC, glBufferSubData)                       \
  X(PFNGLCOMPILESHADERPROC, glCompileShader)                       \
  X(PFNGLCOMPRESSEDTEXIMAGE2DPROC, glCompressedTexImage2D)         \
  X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                       \
  X(PFNGLCREATESHADERPROC, glCreateShader)                         \
  X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                       \
  X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                       \
  X(PFNGLDELETESHADERPROC, glDeleteShader)                         \
  X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray) \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)   \
  X(PFNGLGENBUFFERSPROC, glGenBuffers)                             \
  X(PFNGLGETATTRIBLOCATIONPROC, glGetAttribLocation)               \
  X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)               \
  X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                         \
  X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                 \
  X(PFNGLGETSHADERIVPROC, glGetShaderiv)                           \
  X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)             \
  X(PFNGLLINKPROGRAMPROC, glLinkProgram)                           \
  X(PFNGLSHADERSOURCEPROC, glShaderSource)                         \
  X(PFNGLUNIFORM1FPROC, glUniform1f)                               \
  X(PFNGLUNIFORM1IPROC, glUniform1i)                               \
  X(PFNGLUNIFORM3FPROC, glUniform3f)                               \
  X(PFNGLUNIFORM3FVPROC, glUniform3fv)                             \
  X(PFNGLUNIFORM4FVPROC, glUniform4fv)                             \
  X(PFNGLUNIFORMMATRIX3FVPROC, glUniformMatrix3fv)                 \
  X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)                 \
  X(PFNGLUSEPROGRAMPROC, glUseProgram)                             \
  X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)

// Entry points the program does without when the context lacks them: framebuffer objects
// (OpenGL 3.0 or ARB_framebuffer_object).
#define DRIFTGLASS_GL_FRAMEBUFFER_ENTRY_POINTS(X)              \
  X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)               \
  X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer)               \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus) \
  X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)         \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)     \
  X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)

#define DRIFTGLASS_DECLARE_ENTRY_POINT(type, name) extern type name;
DRIFTGLASS_GL_ENTRY_POINTS(DRIFTGLASS_DECLARE_ENTRY_POINT)
DRIFTGLASS_GL_FRAMEBUFFER_ENTRY_POINTS(DRIFTGLASS_DECLARE_ENTRY_POINT)
#undef DRIFTGLASS_DECLARE_ENTRY_POINT

namespace driftglass {

// Finds an entry point of the current context by name; null when it has none.
using GlProcLookup = void (*(*)(const char* name))();

// Loads every entry point through `lookup`; false only when the context answers nothing at
// all. A missing entry point is told by GlVersion20Available (or, for the
// framebuffer objects, FramebufferObjectsAvailable), not here.
bool LoadGlEntryPoints(GlProcLookup lookup);
// The context reports version 2.0 or later and every entry point was found.
bool GlVersion20Available();
// Every framebuffer-object entry point was found.
bool FramebufferObjectsAvailable();

}  // namespace driftglass

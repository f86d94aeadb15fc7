// WGL pixel format and context, the swap-control extension, the overlay's GDI font lists and
// the buffer swap.
#include "host/wgl_surface.h"

#include <windows.h>

#include <cstring>

#include "foundation/gl.h"

namespace driftglass {
namespace {

using SwapIntervalProc = BOOL(WINAPI*)(int);
using ExtensionsStringProc = const char*(WINAPI*)(HDC);

template <typename Proc>
Proc GetWglProc(const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

}  // namespace

WglSurface::~WglSurface() {
  ReleaseSurface();
}

bool WglSurface::CreateContext() {
  HWND window = static_cast<HWND>(window_);
  HDC dc = GetDC(window);
  dc_ = dc;
  screenWidth_ = GetDeviceCaps(dc, HORZRES);
  screenHeight_ = GetDeviceCaps(dc, VERTRES);

  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  // A window's pixel format has to be able to draw to a window.
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 24;
  format.cDepthBits = 8;
  format.iLayerType = PFD_MAIN_PLANE;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);

  HGLRC context = wglCreateContext(dc);
  if (context == nullptr) return false;
  context_ = context;
  return wglMakeCurrent(dc, context) != FALSE;
}

bool WglSurface::LoadEntryPoints() {
  return LoadGlEntryPoints();
}

bool WglSurface::HasOpenGl20() {
  return GlVersion20Available();
}

bool WglSurface::HasSwapControl() {
  const char* extensions = nullptr;
  if (auto arb = GetWglProc<ExtensionsStringProc>("wglGetExtensionsStringARB")) {
    extensions = arb(static_cast<HDC>(dc_));
  }
  if (extensions == nullptr) {
    using ExtProc = const char*(WINAPI*)();
    if (auto ext = GetWglProc<ExtProc>("wglGetExtensionsStringEXT")) extensions = ext();
  }
  return extensions != nullptr && std::strstr(extensions, "WGL_EXT_swap_control") != nullptr &&
         GetWglProc<SwapIntervalProc>("wglSwapIntervalEXT") != nullptr;
}

void WglSurface::SetSwapInterval(int interval) {
  if (auto swapInterval = GetWglProc<SwapIntervalProc>("wglSwapIntervalEXT")) {
    swapInterval(interval);
  }
}

void WglSurface::DrawOverlayText(const char* text) {
  if (!fontTried_) {
    fontTried_ = true;
    HDC dc = static_cast<HDC>(dc_);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const GLuint base = glGenLists(256);
    if (wglUseFontBitmapsA(dc, 0, 256, base)) {
      fontListBase_ = base;
      fontCharWidth_ = metrics.tmAveCharWidth;
      fontAscent_ = metrics.tmAscent;
      fontHeight_ = metrics.tmHeight;
      RepairFontLists();
    }
    SelectObject(dc, previous);
  }
  GlSurface::DrawOverlayText(text);
}

void WglSurface::SwapBuffers() {
  ::SwapBuffers(static_cast<HDC>(dc_));
}

bool WglSurface::WriteSnapshot(const std::string&) {
  return false;
}

void WglSurface::DeleteContext() {
  if (context_ == nullptr) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(static_cast<HGLRC>(context_));
  context_ = nullptr;
}

void WglSurface::ReleaseSurface() {
  DeleteContext();
  if (dc_ == nullptr) return;
  ReleaseDC(static_cast<HWND>(window_), static_cast<HDC>(dc_));
  dc_ = nullptr;
}

}  // namespace driftglass

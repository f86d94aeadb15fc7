// WGL pixel format and context, the swap-control extension, the overlay's GDI font lists and
// the buffer swap.
#include "windows/wgl_surface.h"

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

// wglGetProcAddress answers some drivers' misses with small integers instead of null.
void (*LookUpGlEntryPoint(const char* name))() {
  PROC address = wglGetProcAddress(name);
  const auto value = reinterpret_cast<INT_PTR>(address);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) return nullptr;
  return reinterpret_cast<void (*)()>(address);
}

}  // namespace

struct WglSurface::Native {
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
};

WglSurface::WglSurface(void* window) : native_(std::make_unique<Native>()) {
  native_->window = static_cast<HWND>(window);
}

WglSurface::~WglSurface() {
  ReleaseSurface();
}

bool WglSurface::CreateContext() {
  HDC dc = GetDC(native_->window);
  native_->dc = dc;
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

  native_->context = wglCreateContext(dc);
  if (native_->context == nullptr) return false;
  return wglMakeCurrent(dc, native_->context) != FALSE;
}

bool WglSurface::LoadEntryPoints() {
  return LoadGlEntryPoints(LookUpGlEntryPoint);
}

bool WglSurface::HasOpenGl20() {
  return GlVersion20Available();
}

const char* WglSurface::SwapControlExtension() {
  const char* extensions = nullptr;
  if (auto arb = GetWglProc<ExtensionsStringProc>("wglGetExtensionsStringARB")) {
    extensions = arb(native_->dc);
  }
  if (extensions == nullptr) {
    using ExtProc = const char*(WINAPI*)();
    if (auto ext = GetWglProc<ExtProc>("wglGetExtensionsStringEXT")) extensions = ext();
  }
  const bool found = extensions != nullptr &&
                     std::strstr(extensions, "WGL_EXT_swap_control") != nullptr &&
                     GetWglProc<SwapIntervalProc>("wglSwapIntervalEXT") != nullptr;
  // Named in the log as GLEW names it, as the Windows saver always has.
  return found ? "WGLEW_EXT_swap_control" : nullptr;
}

double WglSurface::RefreshRate() {
  // 0 and 1 stand for the hardware's default rate, which is not told.
  const int rate = native_->dc != nullptr ? GetDeviceCaps(native_->dc, VREFRESH) : 0;
  return rate > 1 ? rate : 0;
}

void WglSurface::SetSwapInterval(int interval) {
  if (auto swapInterval = GetWglProc<SwapIntervalProc>("wglSwapIntervalEXT")) {
    swapInterval(interval);
  }
}

bool WglSurface::BuildFontLists(unsigned base, FontMetrics& metrics) {
  HGDIOBJ previous = SelectObject(native_->dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA text{};
  GetTextMetricsA(native_->dc, &text);
  const bool built = wglUseFontBitmapsA(native_->dc, 0, 256, base) != FALSE;
  SelectObject(native_->dc, previous);
  metrics.charWidth = text.tmAveCharWidth;
  metrics.ascent = text.tmAscent;
  metrics.height = text.tmHeight;
  return built;
}

void WglSurface::SwapBuffers() {
  ::SwapBuffers(native_->dc);
}

bool WglSurface::WriteSnapshot(const std::string&) {
  return false;
}

void WglSurface::DeleteContext() {
  if (native_->context == nullptr) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(native_->context);
  native_->context = nullptr;
}

void WglSurface::ReleaseSurface() {
  DeleteContext();
  if (native_->dc == nullptr) return;
  ReleaseDC(native_->window, native_->dc);
  native_->dc = nullptr;
}

}  // namespace driftglass

// GLX context creation, GLEW, swap control, the overlay's X font and the buffer swap.
#include "linux/glx_surface.h"

#include <GL/glew.h>
#include <GL/glxew.h>
#include <X11/extensions/Xrandr.h>

#include "linux/png_snapshot.h"
#include "linux/x11_display.h"

namespace driftglass {

struct GlxSurface::Native {
  Window window = 0;
  VisualID visualId = 0;
  Display* display = nullptr;
  GLXContext context = nullptr;
};

GlxSurface::GlxSurface(unsigned long window, unsigned long visualId)
    : native_(std::make_unique<Native>()) {
  native_->window = window;
  native_->visualId = visualId;
}

GlxSurface::~GlxSurface() {
  ReleaseSurface();
}

bool GlxSurface::CreateContext() {
  // The render thread talks to the server on a connection of its own.
  native_->display = OpenDisplay();
  Display* display = native_->display;
  if (display == nullptr) return false;
  screenWidth_ = WidthOfScreen(DefaultScreenOfDisplay(display));
  screenHeight_ = HeightOfScreen(DefaultScreenOfDisplay(display));

  XVisualInfo wanted{};
  wanted.visualid = native_->visualId;
  int count = 0;
  XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  if (visual == nullptr) return false;
  native_->context = glXCreateContext(display, visual, nullptr, True);
  XFree(visual);
  if (native_->context == nullptr) return false;
  return glXMakeCurrent(display, native_->window, native_->context) == True;
}

bool GlxSurface::LoadEntryPoints() {
  return glewInit() == GLEW_OK;
}

bool GlxSurface::HasOpenGl20() {
  return GLEW_VERSION_2_0;
}

const char* GlxSurface::SwapControlExtension() {
  if (GLXEW_EXT_swap_control) return "GLX_EXT_swap_control";
  if (GLXEW_MESA_swap_control) return "GLX_MESA_swap_control";
  return nullptr;
}

void GlxSurface::SetSwapInterval(int interval) {
  if (GLXEW_EXT_swap_control) {
    glXSwapIntervalEXT(native_->display, native_->window, interval);
  } else if (GLXEW_MESA_swap_control) {
    glXSwapIntervalMESA(static_cast<unsigned>(interval));
  }
}

double GlxSurface::RefreshRate() {
  // The rate of the screen's current mode; a server without RandR (or one that reports no
  // rate, as Xvfb does) leaves it unknown.
  Display* display = native_->display;
  int eventBase = 0, errorBase = 0;
  if (display == nullptr || !XRRQueryExtension(display, &eventBase, &errorBase)) return 0;
  XRRScreenConfiguration* configuration = XRRGetScreenInfo(display, DefaultRootWindow(display));
  if (configuration == nullptr) return 0;
  const short rate = XRRConfigCurrentRate(configuration);
  XRRFreeScreenConfigInfo(configuration);
  return rate;
}

bool GlxSurface::BuildFontLists(unsigned base, FontMetrics& metrics) {
  XFontStruct* font = XLoadQueryFont(native_->display, "fixed");
  if (font == nullptr) return false;
  glXUseXFont(font->fid, 0, 256, base);
  metrics.charWidth = font->max_bounds.width;
  metrics.ascent = font->ascent;
  metrics.height = font->ascent + font->descent;
  XFreeFont(native_->display, font);
  return true;
}

void GlxSurface::SwapBuffers() {
  glXSwapBuffers(native_->display, native_->window);
}

bool GlxSurface::WriteSnapshot(const std::string& path) {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  return ReadBackBuffer(width, height, rgba) && WritePng(path, width, height, rgba);
}

void GlxSurface::DeleteContext() {
  if (native_->context == nullptr) return;
  glXMakeCurrent(native_->display, None, nullptr);
  glXDestroyContext(native_->display, native_->context);
  native_->context = nullptr;
}

void GlxSurface::ReleaseSurface() {
  // The context belongs to the connection: it goes first, while the connection is open.
  DeleteContext();
  if (native_->display == nullptr) return;
  CloseDisplay(native_->display);
  native_->display = nullptr;
}

}  // namespace driftglass

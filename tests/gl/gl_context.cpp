// The GL tests' window and context.
#include "gl_context.h"

#include <GL/glew.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstring>

#include "host/linux/x11_display.h"

namespace gltest {

struct GlContext::Native {
  Display* display = nullptr;
  Window window = 0;
};

GlContext::GlContext(int width, int height)
    : native_(std::make_unique<Native>()), width_(width), height_(height) {
  Display* display = driftglass::OpenDisplay();
  native_->display = display;
  if (display == nullptr) return;
  int attributes[] = {
      GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
      8,        GLX_DEPTH_SIZE,   16,           None};
  XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
  if (visual == nullptr) return;
  XSetWindowAttributes windowAttributes{};
  windowAttributes.colormap =
      XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
  native_->window =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, visual->depth,
                    InputOutput, visual->visual, CWColormap, &windowAttributes);
  const unsigned long visualId = visual->visualid;
  XFree(visual);
  XMapWindow(display, native_->window);
  XSync(display, False);
  surface_ = std::make_unique<driftglass::GlxSurface>(native_->window, visualId);
  valid_ = surface_->CreateContext() && surface_->LoadEntryPoints() && surface_->HasOpenGl20();
  if (valid_) surface_->SetupView();
}

GlContext::~GlContext() {
  surface_.reset();
  if (native_->display != nullptr) {
    if (native_->window != 0) XDestroyWindow(native_->display, native_->window);
    driftglass::CloseDisplay(native_->display);
  }
}

std::vector<uint8_t> GlContext::ReadPixels() const {
  std::vector<uint8_t> bottomUp(static_cast<size_t>(width_) * height_ * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<uint8_t> rows(bottomUp.size());
  const size_t row = static_cast<size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y) {
    std::memcpy(&rows[y * row], &bottomUp[(height_ - 1 - y) * row], row);
  }
  return rows;
}

}  // namespace gltest

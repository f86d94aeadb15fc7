// The view before the scene's first, the overlay text and the frame read-back.
#include "host/gl_surface.h"

#include <cstring>

#include "foundation/gl.h"
#include "foundation/view_shape.h"
#include "host/frame_rate_counter.h"

namespace driftglass {

void GlSurface::SetupView() {
  glGetIntegerv(GL_VIEWPORT, viewport_);
  // The scene sets its own view at each reshape; until then the window's whole.
  ApplyView(ShapeViewFor(PixelRect{0, 0, viewport_[2], viewport_[3]}));
  glEnable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_AUTO_NORMAL);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  sizeToTell_ = true;
}

void GlSurface::Resize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  pendingSize_.store(uint64_t{static_cast<uint32_t>(width)} << 32 | static_cast<uint32_t>(height));
}

bool GlSurface::BeginFrame(int& width, int& height) {
  const uint64_t size = pendingSize_.exchange(0);
  if (size != 0 && (viewport_[2] != static_cast<int>(size >> 32) ||
                    viewport_[3] != static_cast<int>(size & 0xFFFFFFFFu))) {
    viewport_[2] = static_cast<int>(size >> 32);
    viewport_[3] = static_cast<int>(size & 0xFFFFFFFFu);
    glViewport(0, 0, viewport_[2], viewport_[3]);
    sizeToTell_ = true;
  }
  if (!sizeToTell_) return false;
  sizeToTell_ = false;
  width = viewport_[2];
  height = viewport_[3];
  return true;
}

void GlSurface::DrawOverlayText(const char* text) {
  if (!fontTried_) {
    fontTried_ = true;
    const GLuint base = glGenLists(256);
    if (BuildFontLists(base, font_)) {
      fontListBase_ = base;
      RepairFontLists();
    } else {
      glDeleteLists(base, 256);
    }
  }
  if (fontListBase_ == 0) return;
  const int width = viewport_[2];
  const int height = viewport_[3];
  int right = 0;
  int bottom = 0;
  FrameRateCounter::TextRectangle(screenWidth_, screenHeight_, right, bottom);
  const int length = static_cast<int>(std::strlen(text));

  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_SCISSOR_BIT | GL_LIST_BIT | GL_VIEWPORT_BIT);
  glViewport(0, 0, width, height);  // the window's, whatever view the scene drew last
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);  // window pixels, y down
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  // Clip to the rectangle, as text drawn into it would be.
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, height - bottom, right, bottom);
  glColor3ub(0, 0, 0);
  glRecti(0, 0, length * font_.charWidth, font_.height);
  glColor3ub(255, 255, 255);
  glRasterPos2i(0, font_.ascent);
  glListBase(fontListBase_);
  glCallLists(length, GL_UNSIGNED_BYTE, text);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

void GlSurface::RepairFontLists() {
  while (glGetError() != GL_NO_ERROR) {
  }
  static const GLubyte kUnsetPixel[1] = {0};
  glNewList(fontListBase_ + ' ', GL_COMPILE);
  glBitmap(1, 1, 0.0f, 0.0f, static_cast<float>(font_.charWidth), 0.0f, kUnsetPixel);
  glEndList();
}

bool GlSurface::ReadBackBuffer(int& width, int& height, std::vector<uint8_t>& rgba) const {
  width = viewport_[2];
  height = viewport_[3];
  if (width <= 0 || height <= 0) return false;
  std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * height * 4);
  while (glGetError() != GL_NO_ERROR) {
  }  // only the read's own errors count
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  rgba.resize(bottomUp.size());
  const size_t row = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y) {
    std::memcpy(&rgba[y * row], &bottomUp[(height - 1 - y) * row], row);
  }
  return glGetError() == GL_NO_ERROR;
}

}  // namespace driftglass

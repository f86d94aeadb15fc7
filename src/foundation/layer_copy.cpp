// Painting a layer once and copying it onto every frame.
#include "foundation/layer_copy.h"

#include <algorithm>

namespace driftglass {

void LayerCopy::Reshape(const PixelRect& viewport) {
  if (viewport == viewport_) return;
  viewport_ = viewport;
  framesAtViewport_ = 0;
  painted_ = false;
}

bool LayerCopy::Prepare(const PixelRect& area) {
  // Only the part inside the viewport can show.
  const int x0 = std::max(area.x, viewport_.x), y0 = std::max(area.y, viewport_.y);
  const int x1 = std::min(area.x + area.width, viewport_.x + viewport_.width);
  const int y1 = std::min(area.y + area.height, viewport_.y + viewport_.height);
  if (x1 <= x0 || y1 <= y0 || !FramebufferObjectsAvailable()) return false;
  // A blit onto a multisampled frame (a driver's settings may force one) is an error: such
  // a frame has the layer painted as it is.
  GLint sampleBuffers = 0;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
  if (sampleBuffers != 0) return false;
  if (texture_ == 0) texture_ = GlTexture::Make();
  if (framebuffer_ == 0) framebuffer_ = GlFramebuffer::Make();
  if (texture_ == 0 || framebuffer_ == 0) return false;
  // The rectangle is kept only once the texture has its size.
  const bool resized = area_.width != x1 - x0 || area_.height != y1 - y0;
  area_ = PixelRect{x0, y0, x1 - x0, y1 - y0};
  GLint boundTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  glBindTexture(GL_TEXTURE_2D, texture_);
  if (resized) {
    // An unsized format, given the window's own layout of 8-bit channels, lets the driver keep
    // the copy in exactly that layout (a sized GL_RGBA8 makes Mesa choose another order), so
    // that copying to and from the window moves rows as they are.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, area_.width, area_.height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    return false;
  }
  return true;
}

// The copy is kept upside down: the window's rows run from the top in memory, a texture's
// from the bottom, so a blit that turns the rows over in both directions lets the driver
// copy them straight (Mesa's llvmpipe then copies memory instead of drawing a textured quad,
// some twenty times faster). Any driver gives the same pixels back.
bool LayerCopy::Put() {
  if (!painted_) return false;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glBlitFramebuffer(0, area_.height, area_.width, 0, area_.x, area_.y, area_.x + area_.width,
                    area_.y + area_.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  return true;
}

bool LayerCopy::Take(const PixelRect& area) {
  painted_ = false;
  // Not on the first frame at a viewport, which would be held up by it.
  if (framesAtViewport_ < 1) {
    ++framesAtViewport_;
    return false;
  }
  if (!Prepare(area)) return false;
  glBlitFramebuffer(area_.x, area_.y, area_.x + area_.width, area_.y + area_.height, 0,
                    area_.height, area_.width, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  painted_ = true;
  return true;
}

}  // namespace driftglass

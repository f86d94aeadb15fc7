// A layer that looks the same in every frame, painted once into a texture holding the window
// pixels it covers and copied onto each frame after that: llvmpipe copies a pixel for about
// half of what it costs to filter one from a picture. Render thread only.
#pragma once

#include "foundation/gl.h"

namespace driftglass {

// A rectangle of window pixels, from its lower left corner as OpenGL counts them.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

class LayerCopy {
 public:
  LayerCopy() = default;
  LayerCopy(const LayerCopy&) = delete;
  LayerCopy& operator=(const LayerCopy&) = delete;

  // Puts the layer on the frame: `area()` is the rectangle the layer covers under the current
  // viewport and matrices, and `paint()` draws it. The copy is painted when the viewport has
  // changed size since the last time; without framebuffer objects the layer is painted
  // straight onto every frame instead. The copy replaces every pixel of the rectangle, so the
  // layer must be the first drawn over a cleared frame: whatever it leaves uncovered then
  // shows the clear colour, in the copy as on the frame.
  template <typename Area, typename Paint>
  void Draw(const Area& area, const Paint& paint) {
    if (ViewportChanged() && BeginPainting(area())) {
      paint();
      EndPainting();
    }
    if (!CopyOntoFrame()) paint();
  }

  // Deletes the copy; the context that made it must be current.
  void Release();

 private:
  bool ViewportChanged();
  // Binds the copy as the target of drawing, with the viewport moved so that the layer lands
  // on the same pixels as on the frame; false when no copy can be made.
  bool BeginPainting(const PixelRect& area);
  void EndPainting();
  bool CopyOntoFrame();

  GLint viewport_[4] = {0, 0, 0, 0};
  PixelRect area_;
  bool painted_ = false;  // the copy holds the layer for the current viewport
  GLuint framebuffer_ = 0;
  GLuint texture_ = 0;
};

}  // namespace driftglass

// A layer that looks the same in every frame, kept as the window pixels it covers once it has
// been painted and put back onto each frame after that: where the copy has the window's own
// layout, llvmpipe copies its rows as they are, for a small part of what painting or
// filtering them costs. Render thread only.
#pragma once

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/pixel_rect.h"

namespace driftglass {

class LayerCopy {
 public:
  LayerCopy() = default;
  LayerCopy(const LayerCopy&) = delete;
  LayerCopy& operator=(const LayerCopy&) = delete;
  LayerCopy(LayerCopy&&) = default;
  LayerCopy& operator=(LayerCopy&&) = default;

  // The window's drawing area is now `viewport`: the copy is made again for it (a viewport the
  // same as before keeps the copy). Until the first call there is no copy.
  void Reshape(const PixelRect& viewport);
  // Puts the layer on the frame: `area()` is the rectangle the layer covers under the
  // viewport and the current matrices, and `paint()` draws it. The layer is painted straight
  // onto the frame until the copy is made, and wherever none can be (no framebuffer
  // objects). The copy is taken from the second frame at a viewport, right after painting,
  // so that the first frame is not held up by it and a window being resized does not make
  // one copy a frame. The copy replaces every pixel of the rectangle, so the layer must be the
  // first drawn there, and what it leaves uncovered in the rectangle must be painted by later
  // layers. True when the layer was copied, onto `Copied()`; false when it was painted.
  template <typename Area, typename Paint>
  bool Draw(const Area& area, const Paint& paint) {
    if (Put()) return true;
    paint();
    Take(area());
    return false;
  }
  // For a layer drawn straight onto the frame that changes only now and then: `Take` keeps
  // the rectangle `area` as the frame holds it now (not on the first frame at a viewport, nor
  // where no copy can be made), and `Put` puts it back onto a later frame in place of drawing
  // the layer again. True when that was done. A copy is forgotten when the viewport changes
  // and when `Take` fails; `Forget` drops it at once, for a layer that has changed since.
  bool Take(const PixelRect& area);
  bool Put();
  void Forget() { painted_ = false; }
  // The window pixels the copy covers: the layer's rectangle clipped to the viewport.
  const PixelRect& Copied() const { return area_; }

 private:
  // Makes the copy's texture and framebuffer for `area`, clipped to the viewport, and binds
  // the framebuffer as the target of drawing; false when no copy can be made.
  bool Prepare(const PixelRect& area);

  PixelRect viewport_;
  PixelRect area_;
  int framesAtViewport_ = 0;  // frames drawn at the viewport, counted up to 1
  bool painted_ = false;      // the copy holds the layer for the current viewport
  GlFramebuffer framebuffer_;
  GlTexture texture_;
};

}  // namespace driftglass

// The scene's backdrop as one object: far cliff, waving sea and near cliff, built together,
// advanced with the frame time and painted back to front first thing every frame. The waves
// move 20 times a second, so at a higher frame rate most frames would paint the decor just as
// the frame before did: those frames copy it whole, as the last one left it.
// Render thread only.
#pragma once

#include "decor/cliffs.h"
#include "decor/waving_sea.h"
#include "foundation/view_shape.h"

namespace driftglass {

class ManagerDecor {
 public:
  // Builds all three layers, whatever an earlier one reported.
  ManagerDecor() = default;
  bool IsValid() const { return farCliff_.IsValid() && sea_.IsValid() && nearCliff_.IsValid(); }
  // The window's drawing area changed (and before the first frame), and with it the view;
  // each layer keeps what it derives from it. The view's matrices must be current.
  void Reshape(const ViewShape& view) {
    const PixelRect& viewport = view.viewport;
    farCliff_.Reshape(viewport);
    nearCliff_.Reshape(viewport, view.halfWidth);
    sea_.Reshape(viewport, view.halfWidth, nearCliff_.SolidBelow());
    viewport_ = viewport;
    whole_.Reshape(viewport);
  }
  void Update(double frameMs) {
    seaMoved_ = sea_.Update(frameMs) || seaMoved_;
    frameMs_ = frameMs;
  }
  void Draw() {
    if (!seaMoved_ && whole_.Put()) return;
    farCliff_.Draw();
    sea_.Draw();
    nearCliff_.Draw();
    seaMoved_ = false;
    // Kept only when the next frame is likely to show the same waves.
    if (sea_.StillAfter(frameMs_)) {
      whole_.Take(viewport_);
    } else {
      whole_.Forget();
    }
  }
  void Release() {
    whole_.Release();
    farCliff_.Release();
    sea_.Release();
    nearCliff_.Release();
  }

 private:
  FarCliffDecorClass farCliff_;
  WavingSeaDecorClass sea_;
  NearCliffDecorClass nearCliff_;
  PixelRect viewport_;
  LayerCopy whole_;       // the three layers as the last frame that painted them left them
  bool seaMoved_ = true;  // since the decor was last painted
  double frameMs_ = 0;
};

}  // namespace driftglass

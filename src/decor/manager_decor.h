// The scene's backdrop as one object: far cliff, waving sea and near cliff, built together,
// advanced with the frame time and painted back to front first thing every frame. The waves
// move 20 times a second, so at a higher frame rate most frames would draw the sea just as the
// frame before did: those frames copy the far cliff and the sea as the last one left them.
// Render thread only.
#pragma once

#include "decor/cliffs.h"
#include "decor/waving_sea.h"

namespace driftglass {

class ManagerDecor {
 public:
  // Builds all three layers, whatever an earlier one reported.
  ManagerDecor() = default;
  bool IsValid() const { return farCliff_.IsValid() && sea_.IsValid() && nearCliff_.IsValid(); }
  // The window's drawing area changed (and before the first frame); each layer keeps what it
  // derives from it.
  void Reshape(const PixelRect& viewport) {
    farCliff_.Reshape(viewport);
    sea_.Reshape(viewport, nearCliff_.SolidBelow());
    nearCliff_.Reshape(viewport);
    viewport_ = viewport;
    seaAndSky_.Reshape(viewport);
  }
  void Update(double frameMs) {
    seaMoved_ = sea_.Update(frameMs) || seaMoved_;
    frameMs_ = frameMs;
  }
  void Draw() {
    if (seaMoved_ || !seaAndSky_.Put()) {
      farCliff_.Draw();
      sea_.Draw();
      seaMoved_ = false;
      // Kept only when the next frame is likely to show the same waves.
      if (sea_.StillAfter(frameMs_)) {
        seaAndSky_.Take({viewport_.x, sea_.LowestRow(), viewport_.width,
                         viewport_.y + viewport_.height - sea_.LowestRow()});
      } else {
        seaAndSky_.Forget();
      }
    }
    nearCliff_.Draw();
  }
  void Release() {
    seaAndSky_.Release();
    farCliff_.Release();
    sea_.Release();
    nearCliff_.Release();
  }

 private:
  FarCliffDecorClass farCliff_;
  WavingSeaDecorClass sea_;
  NearCliffDecorClass nearCliff_;
  PixelRect viewport_;
  LayerCopy seaAndSky_;   // the far cliff and the sea, above the rows the near cliff covers
  bool seaMoved_ = true;  // since the far cliff and the sea were last drawn
  double frameMs_ = 0;
};

}  // namespace driftglass

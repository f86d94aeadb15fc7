// The scene's backdrop as one object: far cliff, waving sea and near cliff, built together,
// advanced with the frame time and painted back to front first thing every frame.
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
  }
  void Update(double frameMs) { sea_.Update(frameMs); }
  void Draw() {
    farCliff_.Draw();
    sea_.Draw();
    nearCliff_.Draw();
  }
  void Release() {
    farCliff_.Release();
    sea_.Release();
    nearCliff_.Release();
  }

 private:
  FarCliffDecorClass farCliff_;
  WavingSeaDecorClass sea_;
  NearCliffDecorClass nearCliff_;
};

}  // namespace driftglass

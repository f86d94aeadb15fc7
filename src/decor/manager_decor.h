// The scene's backdrop as one object: far cliff, waving sea and near cliff, built together,
// advanced with the frame time once a frame and painted back to front first thing in every
// view (one a monitor, each with its own shape). The waves move 20 times a second, so at a
// higher frame rate most frames would paint the decor just as the frame before did: those
// frames copy it whole, as the last one left it. Render thread only; it is destroyed with
// the context current, and its GL names go with it.
#pragma once

#include <memory>
#include <vector>

#include "decor/cliffs.h"
#include "decor/waving_sea.h"
#include "foundation/view_shape.h"

namespace driftglass {

class ManagerDecor {
 public:
  // Builds all three layers, whatever an earlier one reported.
  ManagerDecor() = default;
  bool IsValid() const { return farCliff_.IsValid() && sea_.IsValid() && nearCliff_.IsValid(); }
  // The views changed (and before the first frame); each keeps what it derives from its
  // shape and its own copies. Leaves the last view's matrices current.
  void Reshape(const std::vector<ViewShape>& views);
  void Update(double frameMs);
  // Paints the decor in view `index`, whose matrices must be current.
  void Draw(size_t index);

 private:
  struct View {
    PixelRect viewport;
    GLint seaLowestRow = 0;
    NearCliffDecorClass::View shore;
    LayerCopy backdrop;
    LayerCopy whole;       // the three layers as the last frame that painted them left them
    bool seaMoved = true;  // since the decor was last painted in this view
  };

  FarCliffDecorClass farCliff_;
  WavingSeaDecorClass sea_;
  NearCliffDecorClass nearCliff_;
  std::vector<std::unique_ptr<View>> views_;
  int framesSinceReshape_ = 0;  // counted up to 2
  double frameMs_ = 0;
};

}  // namespace driftglass

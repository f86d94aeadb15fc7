// The sea between the backdrop and the near cliff: a sloping grid textured with the sea
// picture, whose texture coordinates ripple with the wave simulation, as wide as the view
// needs. Drawn as part of the backdrop, without depth test or depth writes. Render thread only.
#pragma once

#include <memory>

#include "decor/sea_simulation.h"
#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/pixel_rect.h"
#include "foundation/texture_images.h"

namespace driftglass {

class WavingSeaDecorClass {
 public:
  // Loads the picture and makes the buffers; IsValid tells whether that worked.
  WavingSeaDecorClass();
  bool IsValid() const { return valid_; }
  // The views changed (and before the first frame): the widest shows the plane z = 0 out to
  // |x| = `widestHalfWidth`. A view wider than before widens the grid; the waves go on.
  void Reshape(double widestHalfWidth);
  // The lowest window row the sea may show in, in the view of `viewport` whose matrices are
  // current, where what lies lower than the height `hiddenBelow` is covered whole by the
  // near shore drawn next.
  static GLint LowestRow(const PixelRect& viewport, double hiddenBelow);
  // Without a simulation (it failed to build) the sea stands still and draws nothing. True
  // when the waves moved, and with
  // them the picture the sea shows.
  bool Update(double frameMs) { return simulation_ && simulation_->Update(frameMs); }
  // True when the waves will not move in a next frame as long as `frameMs`.
  bool StillAfter(double frameMs) const {
    return !simulation_ || simulation_->PendingMs() + frameMs <= SeaSimulation::kStepMs;
  }
  // Draws the sea in the view of `viewport`, whose matrices are current, from `lowestRow`
  // up. The first frame after a reshape, which may end the start-up, draws from the
  // compressed picture.
  void Draw(const PixelRect& viewport, GLint lowestRow, bool firstFrame);

 private:
  // Fills the position and index buffers for the grid as it is now.
  void BuildGrid();

  std::unique_ptr<SeaSimulation> simulation_;
  PicturePart picture_;    // where the sea picture lies on the plane
  DecodedRegion decoded_;  // what the views show of it, from their second frame on
  double showsOut_ = 1.0;  // the widest |x| on the plane z = 0 any view shows
  GLsizei indexCount_ = 0;
  GlTexture texture_;
  GlBuffer indexBuffer_;
  GlBuffer positionBuffer_;
  GlBuffer texCoordBuffer_;
  bool valid_ = false;
};

}  // namespace driftglass

// The welcome banner: invisible for 4 seconds, fading in over 2.5, staying 11, fading out over
// 2.5 and gone 20 seconds after start; drawn last, over the whole scene, in the upper right
// corner of each view. Render thread only.
#pragma once

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/textured_quad.h"
#include "foundation/view_shape.h"

namespace driftglass {

class WelcomingMessage {
 public:
  WelcomingMessage();
  bool IsValid() const { return texture_ != 0; }
  // Moves the banner's clock on by the frame time.
  void Update(double frameMs) { elapsed_ += frameMs; }
  // Draws the banner at its opacity in the upper right corner of `view`, leaving blending and
  // texturing off and depth test on.
  void Draw(const ViewShape& view);

  // The banner's opacity `elapsedMs` after start; zero or below before it shows and once it
  // is gone, when Draw draws nothing.
  static double Opacity(double elapsedMs);
  // Where the banner lies in `view`: at the same share of its height and as far from its upper
  // right corner, whatever its shape.
  static QuadPlacement Placement(const ViewShape& view);

 private:
  GlTexture texture_;
  double elapsed_ = 0.0;
};

}  // namespace driftglass

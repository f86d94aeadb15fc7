// The welcome banner: invisible for 4 seconds, fading in over 2.5, staying 11, fading out over
// 2.5 and gone 20 seconds after start; drawn last, over the whole scene, in the upper right.
// Render thread only.
#pragma once

#include "foundation/gl.h"
#include "foundation/gl_name.h"

namespace driftglass {

class WelcomingMessage {
 public:
  WelcomingMessage();
  bool IsValid() const { return texture_ != 0; }
  // Moves the banner's clock on by the frame time.
  void Update(double frameMs) { elapsed_ += frameMs; }
  // Draws the banner at its opacity, leaving blending and texturing off and depth test on.
  void Draw();

  // The banner's opacity `elapsedMs` after start; zero or below before it shows and once it
  // is gone, when Draw draws nothing.
  static double Opacity(double elapsedMs);

 private:
  GlTexture texture_;
  double elapsed_ = 0.0;
};

}  // namespace driftglass

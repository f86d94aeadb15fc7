// One layer of the backdrop being painted: its picture bound in replace mode, with neither
// depth test nor depth writes, so the creature and the flowers later draw over a clear depth
// buffer. Everything is set back when the layer goes out of scope. Render thread only.
#pragma once

#include "foundation/gl.h"

namespace driftglass {

class BackdropLayer {
 public:
  explicit BackdropLayer(GLuint texture) {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  }
  ~BackdropLayer() {
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
  }
  BackdropLayer(const BackdropLayer&) = delete;
  BackdropLayer& operator=(const BackdropLayer&) = delete;
};

}  // namespace driftglass

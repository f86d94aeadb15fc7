// A real OpenGL context on the test's X display, set up the way the saver sets up its own:
// the fixed projection and camera, a window of the given size.
#pragma once

#include <memory>
#include <vector>

#include "host/linux/glx_surface.h"

namespace gltest {

class GlContext {
 public:
  GlContext(int width, int height);
  ~GlContext();
  bool Valid() const { return valid_; }
  // The back buffer as RGBA rows, top row first.
  std::vector<uint8_t> ReadPixels() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  struct Native;
  std::unique_ptr<Native> native_;
  std::unique_ptr<driftglass::GlxSurface> surface_;
  int width_;
  int height_;
  bool valid_ = false;
};

}  // namespace gltest

// The two flat pictures that frame the sea: the far backdrop (sky, moon, peaks) drawn first,
// and the near shore drawn last with its mask as alpha. Render thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/gl.h"

namespace driftglass {

class FarCliffDecorClass {
 public:
  FarCliffDecorClass();
  bool IsValid() const { return texture_ != 0; }
  void Draw();

 private:
  GLuint texture_ = 0;
};

class NearCliffDecorClass {
 public:
  NearCliffDecorClass();
  bool IsValid() const { return texture_ != 0; }
  void Draw();

 private:
  GLuint texture_ = 0;
};

// Puts the mask's first byte (grey, so any channel would do) into the fourth byte of every
// colour pixel: 255 where the shore is, 0 where it must vanish.
void MergeMaskIntoAlpha(std::vector<uint32_t>& colour, const std::vector<uint32_t>& mask);

}  // namespace driftglass

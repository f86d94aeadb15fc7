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

// The parts of a masked picture along t, for a texture sampled with linear filtering and
// repeat wrapping: rows where every sample reads only alpha 0 (nothing to draw), and rows
// from which on to the lower edge every sample reads only alpha 255 (no need to blend). Any
// t outside those two runs is drawn blended.
struct MaskBands {
  double clearTop = 0, clearBottom = 0;  // t of the clear run; equal when there is none
  double solidTop = 0;                   // t where the solid run begins; bottomT if none
};
MaskBands FindMaskBands(const std::vector<uint32_t>& pixels, int width, int height,
                        double bottomT);

class NearCliffDecorClass {
 public:
  NearCliffDecorClass();
  bool IsValid() const { return texture_ != 0; }
  void Draw();
  // The height (in the plane z = 0) below which the shore hides whatever lies behind it.
  double SolidBelow() const;

 private:
  GLuint texture_ = 0;
  MaskBands bands_;
};

// Puts the mask's first byte (grey, so any channel would do) into the fourth byte of every
// colour pixel: 255 where the shore is, 0 where it must vanish.
void MergeMaskIntoAlpha(std::vector<uint32_t>& colour, const std::vector<uint32_t>& mask);

}  // namespace driftglass

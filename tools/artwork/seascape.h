// The seascape's pictures: the far backdrop (sky, moon, distant peaks over a bank of mist),
// the sea (the backdrop mirrored in water, as the sea grid maps it) and the near shore with
// its mask. They are painted where the camera sees them on the plane z = 0, wide enough for
// a 32:9 screen (x -2.7 ... 2.7) and, over the 4:3 view's width, tall enough for a 9:16 one
// (y -1.77 ... 1.77), at one texel density: more than one texel a pixel on a 1920x1080
// screen.
#pragma once

#include <vector>

#include "s3tc.h"

namespace artwork {

inline constexpr float kLeftEdge = -2.7f;  // the wide parts span -2.7 ... 2.7
inline constexpr int kWideTexels = 4096;
inline constexpr float kTexelsPerUnit = kWideTexels / 5.4f;

std::vector<PlanePart> PaintBackdrop();  // picture 119: wide, and the sky above
std::vector<PlanePart> PaintSea(const std::vector<PlanePart>& backdrop);  // picture 120
// Picture 121 (the colours) and 122 (the mask in `alpha`): wide, and the shore below.
std::vector<PlanePart> PaintNearCliff();

}  // namespace artwork

// A picture on a flat quad in the plane z = 0, drawn in immediate mode with the fixed-function
// pipeline: t = 0 at the upper edge, so pictures stand upright. Render thread only.
#pragma once

namespace driftglass {

struct QuadPlacement {
  double left, right, bottom, top;
  double bottomT;  // t sampled along the lower edge
};

// Corners counter-clockwise as the camera sees them: front-facing under back-face culling.
void DrawTexturedQuad(const QuadPlacement& quad);

}  // namespace driftglass

// Immediate-mode drawing: a scene point as a vertex, and a picture on a flat quad in the plane
// z = 0 with t = 0 at its upper edge, so that pictures stand upright. Render thread only.
#pragma once

#include "foundation/vector_math.h"

namespace driftglass {

// Hands a point to glVertex3d.
void EmitVertex(const Vector3& v);

struct QuadPlacement {
  double left, right, bottom, top;
  double bottomT;  // t sampled along the lower edge
};

// Corners counter-clockwise as the camera sees them: front-facing under back-face culling.
void DrawTexturedQuad(const QuadPlacement& quad);

// The horizontal strip of the quad between t = topT and t = bottomT, placed and textured
// exactly as that part of the whole quad: strips that share a t share their edge, so a quad
// drawn strip by strip covers each pixel once, as the whole quad does.
void DrawTexturedBand(const QuadPlacement& quad, double topT, double bottomT);

// The height in the plane z = 0 at which the quad samples t.
double QuadHeightAt(const QuadPlacement& quad, double t);

}  // namespace driftglass

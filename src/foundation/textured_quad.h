// Immediate-mode drawing: a scene point as a vertex, and a picture on a flat quad in the plane
// z = 0 with t = 0 at its upper edge, so that pictures stand upright. Render thread only.
#pragma once

#include <span>

#include "foundation/layer_copy.h"
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

// A rectangle of a quad's picture, in texture coordinates from its upper left corner.
struct TexturePiece {
  double s0, t0, s1, t1;
};

// Pieces of the quad, each placed and textured exactly as that part of the whole quad. An edge
// at a given s or t lands on the same line for every piece, and the upright quad's edges run
// straight along the window's rows and columns, so pieces that tile the picture cover each
// pixel once, as the whole quad does.
// With `held`, the texture holds only that region of the quad's picture.
void DrawTexturedPieces(const QuadPlacement& quad, std::span<const TexturePiece> pieces,
                        const TexturePiece* held = nullptr);

// The window pixels the quad covers under `viewport` and the current matrices: the rectangle
// around its corners, rounded outwards.
PixelRect QuadWindowRect(const QuadPlacement& quad, const PixelRect& viewport);

// The height in the plane z = 0 at which the quad samples t.
double QuadHeightAt(const QuadPlacement& quad, double t);

}  // namespace driftglass

// Immediate-mode vertices and textured quads.
#include "foundation/textured_quad.h"

#include "foundation/gl.h"

namespace driftglass {

void EmitVertex(const Vector3& v) {
  glVertex3d(v.x, v.y, v.z);
}

void DrawTexturedQuad(const QuadPlacement& quad) {
  const TexturePiece whole{0.0, 0.0, 1.0, quad.bottomT};
  DrawTexturedPieces(quad, {&whole, 1});
}

double QuadHeightAt(const QuadPlacement& quad, double t) {
  if (t == quad.bottomT) return quad.bottom;  // the edges exactly, not rounded
  return quad.top + (quad.bottom - quad.top) * (t / quad.bottomT);
}

namespace {

double QuadXAt(const QuadPlacement& quad, double s) {
  if (s == 1.0) return quad.right;
  return quad.left + (quad.right - quad.left) * s;
}

}  // namespace

void DrawTexturedPieces(const QuadPlacement& quad, std::span<const TexturePiece> pieces) {
  glBegin(GL_QUADS);
  for (const TexturePiece& piece : pieces) {
    const double left = QuadXAt(quad, piece.s0);
    const double right = QuadXAt(quad, piece.s1);
    const double top = QuadHeightAt(quad, piece.t0);
    const double bottom = QuadHeightAt(quad, piece.t1);
    glTexCoord2d(piece.s0, piece.t1);
    glVertex3d(left, bottom, 0.0);
    glTexCoord2d(piece.s1, piece.t1);
    glVertex3d(right, bottom, 0.0);
    glTexCoord2d(piece.s1, piece.t0);
    glVertex3d(right, top, 0.0);
    glTexCoord2d(piece.s0, piece.t0);
    glVertex3d(left, top, 0.0);
  }
  glEnd();
}

}  // namespace driftglass

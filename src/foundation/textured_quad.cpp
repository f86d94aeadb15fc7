// Immediate-mode vertices and textured quads.
#include "foundation/textured_quad.h"

#include "foundation/gl.h"

namespace driftglass {

void EmitVertex(const Vector3& v) {
  glVertex3d(v.x, v.y, v.z);
}

void DrawTexturedQuad(const QuadPlacement& quad) {
  DrawTexturedBand(quad, 0.0, quad.bottomT);
}

double QuadHeightAt(const QuadPlacement& quad, double t) {
  if (t == quad.bottomT) return quad.bottom;  // the edges exactly, not rounded
  return quad.top + (quad.bottom - quad.top) * (t / quad.bottomT);
}

void DrawTexturedBand(const QuadPlacement& quad, double topT, double bottomT) {
  const double top = QuadHeightAt(quad, topT);
  const double bottom = QuadHeightAt(quad, bottomT);
  glBegin(GL_QUADS);
  glTexCoord2d(0.0, bottomT);
  glVertex3d(quad.left, bottom, 0.0);
  glTexCoord2d(1.0, bottomT);
  glVertex3d(quad.right, bottom, 0.0);
  glTexCoord2d(1.0, topT);
  glVertex3d(quad.right, top, 0.0);
  glTexCoord2d(0.0, topT);
  glVertex3d(quad.left, top, 0.0);
  glEnd();
}

}  // namespace driftglass

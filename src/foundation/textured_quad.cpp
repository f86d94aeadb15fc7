// Immediate-mode vertices and textured quads.
#include "foundation/textured_quad.h"

#include "foundation/gl.h"

namespace driftglass {

void EmitVertex(const Vector3& v) {
  glVertex3d(v.x, v.y, v.z);
}

void DrawTexturedQuad(const QuadPlacement& quad) {
  glBegin(GL_QUADS);
  glTexCoord2d(0.0, quad.bottomT);
  glVertex3d(quad.left, quad.bottom, 0.0);
  glTexCoord2d(1.0, quad.bottomT);
  glVertex3d(quad.right, quad.bottom, 0.0);
  glTexCoord2d(1.0, 0.0);
  glVertex3d(quad.right, quad.top, 0.0);
  glTexCoord2d(0.0, 0.0);
  glVertex3d(quad.left, quad.top, 0.0);
  glEnd();
}

}  // namespace driftglass

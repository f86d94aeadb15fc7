// Immediate-mode vertices and textured quads.
#include "foundation/textured_quad.h"

#include <algorithm>
#include <cmath>

#include "foundation/gl.h"

namespace driftglass {

void EmitVertex(const Vector3& v) {
  glVertex3d(v.x, v.y, v.z);
}

void DrawTexturedQuad(const QuadPlacement& quad) {
  const TexturePiece whole{0.0, 0.0, 1.0, quad.bottomT};
  DrawTexturedPieces(quad, {&whole, 1});
}

PixelRect QuadWindowRect(const QuadPlacement& quad, const PixelRect& view) {
  GLdouble modelview[16], projection[16];
  const GLint viewport[4] = {view.x, view.y, view.width, view.height};
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const double x : {quad.left, quad.right}) {
    for (const double y : {quad.bottom, quad.top}) {
      double wx = 0, wy = 0, wz = 0;
      if (gluProject(x, y, 0.0, modelview, projection, viewport, &wx, &wy, &wz) != GL_TRUE) {
        return PixelRect{};
      }
      x0 = std::min(x0, wx), y0 = std::min(y0, wy);
      x1 = std::max(x1, wx), y1 = std::max(y1, wy);
    }
  }
  // Far outside the window it is clipped anyway; clamp before turning to int.
  const auto clamp = [](double v) { return std::clamp(v, -1e6, 1e6); };
  const int left = static_cast<int>(std::floor(clamp(x0)));
  const int bottom = static_cast<int>(std::floor(clamp(y0)));
  return PixelRect{left, bottom, static_cast<int>(std::ceil(clamp(x1))) - left,
                   static_cast<int>(std::ceil(clamp(y1))) - bottom};
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

void DrawTexturedPieces(const QuadPlacement& quad, std::span<const TexturePiece> pieces,
                        const TexturePiece* held) {
  const TexturePiece whole{0.0, 0.0, 1.0, 1.0};
  const TexturePiece& in = held != nullptr ? *held : whole;
  const auto s = [&](double at) { return (at - in.s0) / (in.s1 - in.s0); };
  const auto t = [&](double at) { return (at - in.t0) / (in.t1 - in.t0); };
  glBegin(GL_QUADS);
  for (const TexturePiece& piece : pieces) {
    const double left = QuadXAt(quad, piece.s0);
    const double right = QuadXAt(quad, piece.s1);
    const double top = QuadHeightAt(quad, piece.t0);
    const double bottom = QuadHeightAt(quad, piece.t1);
    glTexCoord2d(s(piece.s0), t(piece.t1));
    glVertex3d(left, bottom, 0.0);
    glTexCoord2d(s(piece.s1), t(piece.t1));
    glVertex3d(right, bottom, 0.0);
    glTexCoord2d(s(piece.s1), t(piece.t0));
    glVertex3d(right, top, 0.0);
    glTexCoord2d(s(piece.s0), t(piece.t0));
    glVertex3d(left, top, 0.0);
  }
  glEnd();
}

}  // namespace driftglass

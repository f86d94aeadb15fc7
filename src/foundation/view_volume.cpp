// The view volume's planes, taken from the matrices.
#include "foundation/view_volume.h"

#include <cmath>

#include "foundation/gl.h"

namespace driftglass {

ViewVolume ViewVolume::Current() {
  GLdouble model[16], projection[16], m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // m = projection * model, both column-major: m[column * 4 + row].
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * model[column * 4 + k];
      m[column * 4 + row] = sum;
    }
  }
  // A point is inside where -w <= x, y, z <= w in clip space: the planes are the fourth row
  // plus and minus each of the first three.
  ViewVolume volume;
  for (int plane = 0; plane < 6; ++plane) {
    const int row = plane / 2;
    const double sign = plane % 2 == 0 ? 1.0 : -1.0;
    double length = 0;
    for (int column = 0; column < 4; ++column) {
      volume.planes_[plane][column] = m[column * 4 + 3] + sign * m[column * 4 + row];
      if (column < 3) length += volume.planes_[plane][column] * volume.planes_[plane][column];
    }
    length = std::sqrt(length);
    if (length > 0) {
      for (double& coefficient : volume.planes_[plane]) coefficient /= length;
    }
  }
  return volume;
}

bool ViewVolume::MayShow(const Vector3& centre, double radius) const {
  for (const auto& p : planes_) {
    if (p[0] * centre.x + p[1] * centre.y + p[2] * centre.z + p[3] < -radius) return false;
  }
  return true;
}

}  // namespace driftglass

// Vector operations and the transformation builder; render thread only.
#include "foundation/vector_math.h"

#include <cmath>

namespace driftglass {

void Vector3::Normalize() {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0) {
    *this = Vector3(1.0, 0.0, 0.0);
    return;
  }
  *this *= 1.0 / length;
}

double Length(const Vector2& v) {
  return std::sqrt(v.x * v.x + v.y * v.y);
}

double Length(const Vector3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

double Dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3& Subtract(const Vector3& a, const Vector3& b, Vector3& out) {
  out = Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
  return out;
}

Vector3& Add(const Vector3& a, const Vector3& b, Vector3& out) {
  out = Vector3(a.x + b.x, a.y + b.y, a.z + b.z);
  return out;
}

Vector3& Scale(const Vector3& a, double s, Vector3& out) {
  out = Vector3(a.x * s, a.y * s, a.z * s);
  return out;
}

Vector3& Divide(const Vector3& a, double s, Vector3& out) {
  const double r = 1.0 / s;
  return Scale(a, r, out);
}

Vector3& Cross(const Vector3& a, const Vector3& b, Vector3& out) {
  out = Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
  return out;
}

Vector3& RotateAroundAxis(const Vector3& v, const Vector3& axis, double angle, Vector3& out) {
  Vector3 u = axis;
  u.Normalize();
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double k = 1.0 - c;
  const Vector3 in = v;  // `out` may alias `v`
  out.x = (k * u.x * u.x + c) * in.x + (k * u.x * u.y - s * u.z) * in.y +
          (k * u.x * u.z + s * u.y) * in.z;
  out.y = (k * u.x * u.y + s * u.z) * in.x + (k * u.y * u.y + c) * in.y +
          (k * u.y * u.z - s * u.x) * in.z;
  out.z = (k * u.x * u.z - s * u.y) * in.x + (k * u.y * u.z + s * u.x) * in.y +
          (k * u.z * u.z + c) * in.z;
  return out;
}

void BuildTransformation(TransformationMatrix& matrix, const Vector3& a, const Vector3& b,
                         const Vector3& c, const Vector3& t, double s) {
  const Vector3* axes[3] = {&a, &b, &c};
  for (int column = 0; column < 3; ++column) {
    matrix.m[column * 4 + 0] = static_cast<float>(s * axes[column]->x);
    matrix.m[column * 4 + 1] = static_cast<float>(s * axes[column]->y);
    matrix.m[column * 4 + 2] = static_cast<float>(s * axes[column]->z);
    matrix.m[column * 4 + 3] = 0.0f;
  }
  matrix.m[12] = static_cast<float>(t.x);
  matrix.m[13] = static_cast<float>(t.y);
  matrix.m[14] = static_cast<float>(t.z);
  matrix.m[15] = 1.0f;
}

}  // namespace driftglass

// Double-precision vectors, their operations and the float matrix handed to GLSL.
// Used by the render thread only; every operation is a pure function of its inputs.
#pragma once

namespace driftglass {

struct Vector2 {
  double x = 0.0;
  double y = 0.0;
  Vector2() = default;
  Vector2(double x_, double y_) : x(x_), y(y_) {}
};

struct Vector3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  Vector3() = default;
  Vector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

  Vector3& operator+=(const Vector3& b) {
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
  }
  Vector3& operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  // Scales to unit length; a zero vector becomes (1, 0, 0).
  void Normalize();
};

// Sixteen floats in OpenGL's column-major order, ready for glUniformMatrix4fv.
struct TransformationMatrix {
  float m[16] = {};
};

// Value-returning arithmetic for expressions; the out-parameter forms below serve where a
// result is kept anyway.
inline Vector3 operator+(Vector3 a, const Vector3& b) {
  return a += b;
}
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
  return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline Vector3 operator*(Vector3 a, double s) {
  return a *= s;
}

double Length(const Vector2& v);
double Length(const Vector3& v);
double Dot(const Vector3& a, const Vector3& b);

// Each of these writes its result into `out` and returns it, so calls chain.
Vector3& Subtract(const Vector3& a, const Vector3& b, Vector3& out);
Vector3& Add(const Vector3& a, const Vector3& b, Vector3& out);
Vector3& Scale(const Vector3& a, double s, Vector3& out);
Vector3& Divide(const Vector3& a, double s, Vector3& out);
Vector3& Cross(const Vector3& a, const Vector3& b, Vector3& out);
// Right-handed rotation of v by `angle` radians about `axis` (normalised on a copy).
Vector3& RotateAroundAxis(const Vector3& v, const Vector3& axis, double angle, Vector3& out);

// Maps a model point p to t + s * (p0 * a + p1 * b + p2 * c).
void BuildTransformation(TransformationMatrix& matrix, const Vector3& a, const Vector3& b,
                         const Vector3& c, const Vector3& t, double s);

}  // namespace driftglass

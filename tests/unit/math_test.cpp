// Vector operations, the transformation matrix and the shared random sequence.
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/random_source.h"
#include "foundation/vector_math.h"

namespace driftglass {
namespace {

void ExpectNear(const Vector3& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-12);
  EXPECT_NEAR(v.y, y, 1e-12);
  EXPECT_NEAR(v.z, z, 1e-12);
}

TEST(VectorMath, NormalizeRotateAndTransformTheWayTheSceneNeeds) {
  Vector3 zero;
  zero.Normalize();
  ExpectNear(zero, 1, 0, 0);  // a zero vector becomes the x axis
  // Right-handed about y, whatever the axis's length; the output may be the input.
  Vector3 v(1, 0, 0);
  RotateAroundAxis(v, Vector3(0, 3, 0), std::numbers::pi / 2, v);
  ExpectNear(v, 0, 0, -1);
  ExpectNear(RotateAroundAxis(Vector3(0, 1, 0), Vector3(0, 0, 1), std::numbers::pi / 2, v), -1, 0,
             0);
  Vector3 out;
  ExpectNear(Cross(Vector3(1, 0, 0), Vector3(0, 1, 0), out), 0, 0, 1);
  // A model point p maps to t + s (p0 a + p1 b + p2 c); the translation is not scaled.
  TransformationMatrix m;
  BuildTransformation(m, Vector3(0, 1, 0), Vector3(-1, 0, 0), Vector3(0, 0, 1), Vector3(1, 2, 3),
                      0.5);
  const double p[3] = {2, 4, 6}, want[3] = {1 - 2, 2 + 1, 3 + 3};
  for (int row = 0; row < 3; ++row) {
    double mapped = m.m[12 + row];
    for (int column = 0; column < 3; ++column) mapped += m.m[column * 4 + row] * p[column];
    EXPECT_NEAR(mapped, want[row], 1e-6) << row;
  }
  EXPECT_EQ(m.m[15], 1.0f);
}

TEST(RandomUnit, FollowsTheSeededFifteenBitSequence) {
  SeedRandom(0);
  EXPECT_DOUBLE_EQ(RandomUnit(), 38 / 32767.0);
  EXPECT_DOUBLE_EQ(RandomUnit(), 7719 / 32767.0);
  EXPECT_DOUBLE_EQ(RandomUnit(), 21238 / 32767.0);
  SeedRandom(123456789);
  double first[50];
  for (double& value : first) value = RandomUnit();
  SeedRandom(123456789);
  for (double value : first) {
    EXPECT_EQ(RandomUnit(), value);
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 1.0);
  }
}

}  // namespace
}  // namespace driftglass

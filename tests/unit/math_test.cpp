// Vector operations at their edges: a zero vector normalised, and rotations about an axis of
// any length, in place or not.
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/vector_math.h"

namespace driftglass {
namespace {

void ExpectNear(const Vector3& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-12);
  EXPECT_NEAR(v.y, y, 1e-12);
  EXPECT_NEAR(v.z, z, 1e-12);
}

TEST(VectorMath, AZeroVectorBecomesTheXAxisAndRotationsAreRightHanded) {
  Vector3 zero;
  zero.Normalize();
  ExpectNear(zero, 1, 0, 0);
  Vector3 v(1, 0, 0);
  RotateAroundAxis(v, Vector3(0, 3, 0), std::numbers::pi / 2, v);
  ExpectNear(v, 0, 0, -1);
  ExpectNear(RotateAroundAxis(Vector3(0, 1, 0), Vector3(0, 0, 1), std::numbers::pi / 2, v), -1, 0,
             0);
}

}  // namespace
}  // namespace driftglass

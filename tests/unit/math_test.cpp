// Vector operations, the transformation matrix and the shared random sequence.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(Normalize, ZeroBecomesXAxisAndOthersGetUnitLength) {
  Vector3 zero;
  zero.Normalize();
  ExpectNear(zero, 1, 0, 0);
  Vector3 v(0, 0, 2);
  v.Normalize();
  ExpectNear(v, 0, 0, 1);
  Vector3 w(3, -4, 12);
  w.Normalize();
  EXPECT_NEAR(Length(w), 1.0, 1e-15);
  Vector3 nan(std::nan(""), 0, 0);
  nan.Normalize();
  EXPECT_TRUE(std::isnan(nan.x));
}

TEST(RotateAroundAxis, IsRightHandedAndIgnoresAxisLength) {
  Vector3 out;
  RotateAroundAxis(Vector3(1, 0, 0), Vector3(0, 1, 0), std::numbers::pi / 2, out);
  ExpectNear(out, 0, 0, -1);
  Vector3 scaledAxis;
  RotateAroundAxis(Vector3(1, 0, 0), Vector3(0, 3, 0), std::numbers::pi / 2, scaledAxis);
  ExpectNear(scaledAxis, out.x, out.y, out.z);
  // A zero axis turns about x: y goes to z.
  RotateAroundAxis(Vector3(0, 1, 0), Vector3(0, 0, 0), std::numbers::pi / 2, out);
  ExpectNear(out, 0, 0, 1);
  // The output may be the input itself.
  Vector3 v(1, 0, 0);
  RotateAroundAxis(v, Vector3(0, 0, 1), std::numbers::pi / 2, v);
  ExpectNear(v, 0, 1, 0);
}

TEST(VectorOperations, ChainAndLeaveOperandsAlone) {
  const Vector3 a(1, 2, 3);
  const Vector3 b(4, 5, 6);
  Vector3 out;
  ExpectNear(Cross(Vector3(1, 0, 0), Vector3(0, 1, 0), out), 0, 0, 1);
  EXPECT_DOUBLE_EQ(Dot(a, b), 32.0);
  Vector3 sum;
  Vector3 scaled;
  ExpectNear(Scale(Add(a, b, sum), 2.0, scaled), 10, 14, 18);
  ExpectNear(Divide(Subtract(b, a, out), 3.0, out), 1, 1, 1);
  ExpectNear(a, 1, 2, 3);
  Vector3 c = a;
  c += b;
  c *= 0.5;
  ExpectNear(c, 2.5, 3.5, 4.5);
  EXPECT_DOUBLE_EQ(Length(Vector2(3, 4)), 5.0);
}

TEST(BuildTransformation, ScalesAxesButNotTheTranslation) {
  TransformationMatrix m;
  BuildTransformation(m, Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1), Vector3(5, 6, 7),
                      2.0);
  const float expected[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], expected[i]) << "element " << i;

  // A model point p maps to t + s * (p0 a + p1 b + p2 c).
  const Vector3 a(0, 1, 0), b(-1, 0, 0), c(0, 0, 1), t(1, 2, 3);
  BuildTransformation(m, a, b, c, t, 0.5);
  const double p[3] = {2, 4, 6};
  for (int row = 0; row < 3; ++row) {
    double mapped = m.m[12 + row];
    for (int column = 0; column < 3; ++column) mapped += m.m[column * 4 + row] * p[column];
    const double axes[3][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    const double want = (row == 0   ? 1
                         : row == 1 ? 2
                                    : 3) +
                        0.5 * (p[0] * axes[0][row] + p[1] * axes[1][row] + p[2] * axes[2][row]);
    EXPECT_NEAR(mapped, want, 1e-6);
  }
}

TEST(RandomUnit, FollowsTheSeededSequence) {
  SeedRandom(0);
  EXPECT_DOUBLE_EQ(RandomUnit(), 38 * 3.051850947599719e-05);
  EXPECT_DOUBLE_EQ(RandomUnit(), 7719 * 3.051850947599719e-05);
  EXPECT_DOUBLE_EQ(RandomUnit(), 21238 * 3.051850947599719e-05);
  EXPECT_NEAR(21238 * 3.051850947599719e-05, 21238.0 / 32767.0, 1e-15);

  // Same seed, same sequence; every value stays in [0, 1].
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

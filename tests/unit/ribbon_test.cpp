// Ribbon strips at their edges: points on segment boundaries, nodes all in one place, and a
// reset along a direction that is not of unit length.
#include "foundation/ribbon.h"

#include <gtest/gtest.h>

namespace driftglass {
namespace {

void ExpectNear(const Vector3& v, const Vector3& want, double tolerance = 1e-12) {
  EXPECT_NEAR(v.x, want.x, tolerance);
  EXPECT_NEAR(v.y, want.y, tolerance);
  EXPECT_NEAR(v.z, want.z, tolerance);
}

double Gap(const RibbonNode* nodes, int k) {
  Vector3 gap;
  return Length(Subtract(nodes[k - 1].basePoint, nodes[k].basePoint, gap));
}

TEST(Ribbon, AFreshRibbonMapsStripPointsToThemselves) {
  Ribbon ribbon;
  // Segment boundaries such as 0.55 included: rounding must not move them a segment back.
  for (double x : {1.0, 0.999, 0.6, 0.55, 0.31, 0.05, 0.001}) {
    Vector3 out;
    ribbon.TransformVertex(Vector3(123, 0.2, -0.3), out, x);  // point.x is not read
    ExpectNear(out, Vector3(x, 0.2, -0.3));
  }
}

TEST(Ribbon, CoincidentNodesAreSeparatedAlongMinusXAndASingleNodeIsRefused) {
  Ribbon ribbon;
  for (int k = 0; k < 20; ++k) ribbon.GetNodes()[k].basePoint = Vector3(2, 3, 4);
  ribbon.Relax();
  ExpectNear(ribbon.GetNodes()[1].basePoint, Vector3(1.95, 3, 4));
  ExpectNear(ribbon.GetNodes()[0].axisX, Vector3(1, 0, 0));
  for (int k = 1; k < 20; ++k) EXPECT_NEAR(Gap(ribbon.GetNodes(), k), 0.05, 1e-12);
  EXPECT_THROW(Ribbon(1), std::invalid_argument);  // node 0 is oriented by node 1
}

TEST(Ribbon, ResetLaysNodesBackAlongTheDirectionWithoutNormalising) {
  Ribbon ribbon;
  ribbon.Reset(Vector3(0, 0, 0), Vector3(0, 2, 0), Vector3(0, 0, 1));
  const RibbonNode& node = ribbon.GetNodes()[4];
  ExpectNear(node.basePoint, Vector3(0, 0, -0.2));
  ExpectNear(node.axisY, Vector3(2, 0, 0));  // up x dir, as long as up
}

}  // namespace
}  // namespace driftglass

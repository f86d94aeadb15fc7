// Ribbon strips: the straight start, following the head, and the CPU twin of the shader.
#include "foundation/ribbon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "foundation/random_source.h"

namespace driftglass {
namespace {

void ExpectNear(const Vector3& v, const Vector3& want, double tolerance = 1e-12) {
  EXPECT_NEAR(v.x, want.x, tolerance);
  EXPECT_NEAR(v.y, want.y, tolerance);
  EXPECT_NEAR(v.z, want.z, tolerance);
}

TEST(Ribbon, AFreshRibbonMapsStripPointsToThemselves) {
  Ribbon ribbon;
  ASSERT_EQ(ribbon.GetNumberOfNodes(), 20);
  for (double x : {1.0, 0.999, 0.6, 0.55, 0.31, 0.05, 0.001}) {
    Vector3 out;
    ribbon.TransformVertex(Vector3(123, 0.2, -0.3), out, x);  // point.x is not read
    ExpectNear(out, Vector3(x, 0.2, -0.3), 1e-12);
    ribbon.TransformVector(Vector3(0.1, 0.2, 0.3), out, x);
    ExpectNear(out, Vector3(0.1, 0.2, 0.3));
  }
  const float* matrixes = ribbon.GetMatrixes();
  const float* vertexes = ribbon.GetVertexes();
  for (int k = 0; k < 20; ++k) {
    const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) ASSERT_EQ(matrixes[9 * k + i], identity[i]) << k;
    EXPECT_FLOAT_EQ(vertexes[3 * k], static_cast<float>(1.0 - k / 20.0));
    EXPECT_EQ(vertexes[3 * k + 1], 0.0f);
  }
}

TEST(Ribbon, StripCoordinateSixTenthsIsTheStartOfNodeEight) {
  Ribbon ribbon;
  RibbonNode& node = ribbon.GetNodes()[8];
  node.basePoint = Vector3(5, 6, 7);
  node.axisX = Vector3(0, 1, 0);
  node.axisY = Vector3(0, 0, 2);
  node.axisZ = Vector3(3, 0, 0);
  Vector3 out;
  ribbon.TransformVertex(Vector3(0, 1, 1), out, 0.6);  // r = 0: no step along -axisX
  ExpectNear(out, Vector3(8, 6, 9));
}

TEST(Ribbon, NodesStayOneSpacingApartHoweverFarTheHeadJumps) {
  Ribbon ribbon;
  SeedRandom(11);
  for (int frame = 0; frame < 200; ++frame) {
    const double jump = frame % 50 == 0 ? 40.0 : 0.05;
    const Vector3 head(ribbon.GetNodes()[0].basePoint.x + (RandomUnit() - 0.5) * jump,
                       ribbon.GetNodes()[0].basePoint.y + (RandomUnit() - 0.5) * jump,
                       ribbon.GetNodes()[0].basePoint.z + (RandomUnit() - 0.5) * jump);
    ribbon.MoveHead(head, Vector3(RandomUnit() - 0.5, 1, RandomUnit() - 0.5));
    const RibbonNode* nodes = ribbon.GetNodes();
    ExpectNear(nodes[0].basePoint, head);
    for (int k = 1; k < 20; ++k) {
      Vector3 gap;
      ASSERT_NEAR(Length(Subtract(nodes[k - 1].basePoint, nodes[k].basePoint, gap)), 0.05, 1e-9)
          << "frame " << frame << " node " << k;
    }
    for (int k = 0; k < 20; ++k) {  // orthonormal, right-handed frames
      const RibbonNode& n = nodes[k];
      ASSERT_NEAR(Length(n.axisX), 1, 1e-9);
      ASSERT_NEAR(Length(n.axisY), 1, 1e-9);
      ASSERT_NEAR(Dot(n.axisX, n.axisY), 0, 1e-9);
      Vector3 z;
      Cross(n.axisX, n.axisY, z);
      ASSERT_NEAR(Dot(z, n.axisZ), 1, 1e-9);
    }
  }
}

TEST(Ribbon, CoincidentNodesAreSeparatedAlongMinusX) {
  Ribbon ribbon;
  ribbon.GetNodes()[1].basePoint = ribbon.GetNodes()[0].basePoint;
  ribbon.Relax();
  ExpectNear(ribbon.GetNodes()[1].basePoint, Vector3(0.95, 0, 0));
  ExpectNear(ribbon.GetNodes()[0].axisX, Vector3(1, 0, 0));
  // A whole chain in one point unfolds with every node one spacing from the one before.
  for (int k = 0; k < 20; ++k) ribbon.GetNodes()[k].basePoint = Vector3(2, 3, 4);
  ribbon.Relax();
  for (int k = 1; k < 20; ++k) {
    Vector3 gap;
    EXPECT_NEAR(
        Length(Subtract(ribbon.GetNodes()[k - 1].basePoint, ribbon.GetNodes()[k].basePoint, gap)),
        0.05, 1e-12);
  }
}

TEST(Ribbon, CoordinatesOnSegmentBoundariesStayOnTheirSegment) {
  // Strip coordinates such as 0.55 sit exactly where one segment meets the next; rounding
  // must not move them a whole segment back.
  Ribbon ribbon;
  for (int k = 1; k < 20; ++k) {
    const double x = 1.0 - k / 20.0;
    Vector3 out;
    ribbon.TransformVertex(Vector3(0, 0, 0), out, x);
    EXPECT_NEAR(out.x, x, 1e-12) << k;
  }
}

TEST(Ribbon, ResetLaysNodesBackAlongTheDirectionWithoutNormalising) {
  Ribbon ribbon;
  ribbon.Reset(Vector3(0, 0, 0), Vector3(0, 2, 0), Vector3(0, 0, 1));
  const RibbonNode& node = ribbon.GetNodes()[4];
  ExpectNear(node.basePoint, Vector3(0, 0, -0.2));
  ExpectNear(node.axisY, Vector3(2, 0, 0));  // up x dir, as long as up
  ExpectNear(node.axisZ, Vector3(0, 2, 0));
}

TEST(Ribbon, CoordinatesOutsideTheStripLandOnItsEnds) {
  // A bent ribbon, so that each node's frame differs.
  Ribbon ribbon;
  SeedRandom(3);
  for (int i = 0; i < 30; ++i) {
    ribbon.MoveHead(Vector3(RandomUnit(), RandomUnit(), RandomUnit()), Vector3(0, 0, 1));
  }
  const Vector3 point(0, 0.1, 0.2);
  Vector3 out, end;
  // Past the head: the head's base point.
  ribbon.TransformVertex(point, end, 1.0);
  for (double x : {1.5, 1e9}) {
    ribbon.TransformVertex(point, out, x);
    ExpectNear(out, end);
  }
  // At or below the tail: the far end of the last segment.
  ribbon.TransformVertex(point, end, 1e-12);
  for (double x : {0.0, -0.3, -1e9}) {
    ribbon.TransformVertex(point, out, x);
    ExpectNear(out, end, 1e-9);
    ribbon.TransformVector(Vector3(1, 0, 0), out, x);
    ExpectNear(out, ribbon.GetNodes()[19].axisX);
  }
}

TEST(Ribbon, FewerThanTwoNodesAreRefused) {
  EXPECT_THROW(Ribbon(1), std::invalid_argument);
  EXPECT_THROW(Ribbon(0), std::invalid_argument);
  EXPECT_THROW(Ribbon(-5), std::invalid_argument);
  Ribbon shortest(2);
  shortest.MoveHead(Vector3(0, 1, 0), Vector3(0, 0, 1));
  const RibbonNode* nodes = shortest.GetNodes();
  Vector3 gap;
  EXPECT_NEAR(Length(Subtract(nodes[0].basePoint, nodes[1].basePoint, gap)), 0.5, 1e-12);
}

}  // namespace
}  // namespace driftglass

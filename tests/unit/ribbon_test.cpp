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
  const float* matrixes = ribbon.GetMatrixes();
  const float* vertexes = ribbon.GetVertexes();
  const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(matrixes[9 * 19 + i], identity[i]);
  EXPECT_FLOAT_EQ(vertexes[3 * 19], 0.05f);
}

TEST(Ribbon, StripCoordinatesPickTheirNodesFrame) {
  Ribbon ribbon;
  RibbonNode& node = ribbon.GetNodes()[8];
  node = RibbonNode{Vector3(5, 6, 7), Vector3(0, 1, 0), Vector3(0, 0, 2), Vector3(3, 0, 0)};
  Vector3 out;
  ribbon.TransformVertex(Vector3(0, 1, 1), out, 0.6);  // the start of node 8
  ExpectNear(out, Vector3(8, 6, 9));
  const float* vertex = ribbon.GetVertexes() + 3 * 8;  // the node's base point, for the shaders
  ExpectNear(Vector3(vertex[0], vertex[1], vertex[2]), Vector3(5, 6, 7));
  ribbon.TransformVertex(Vector3(0, 0, 0), out, 0.58);  // 0.02 behind it, along -axisX
  ExpectNear(out, Vector3(5, 5.98, 7));
  // Outside (0, 1] the end nodes answer: past the head node 0, at or below 0 the tail's end.
  Vector3 end;
  ribbon.TransformVertex(Vector3(0, 0, 0), end, 1.0);
  ribbon.TransformVertex(Vector3(0, 0, 0), out, 1e9);
  ExpectNear(out, end);
  ribbon.TransformVertex(Vector3(0, 0, 0), out, -1e9);
  ExpectNear(out, Vector3(0, 0, 0));
  ribbon.TransformVector(Vector3(1, 0, 0), out, 0.0);
  ExpectNear(out, Vector3(1, 0, 0));
  EXPECT_THROW(Ribbon(1), std::invalid_argument);
}

TEST(Ribbon, NodesStayOneSpacingApartInRightHandedFramesHoweverFarTheHeadJumps) {
  Ribbon ribbon;
  SeedRandom(11);
  for (int frame = 0; frame < 200; ++frame) {
    const double jump = frame % 50 == 0 ? 40.0 : 0.05;
    Vector3 head = ribbon.GetNodes()[0].basePoint;
    head += Vector3((RandomUnit() - 0.5) * jump, (RandomUnit() - 0.5) * jump, RandomUnit() - 0.5);
    ribbon.MoveHead(head, Vector3(RandomUnit() - 0.5, 1, RandomUnit() - 0.5));
    const RibbonNode* nodes = ribbon.GetNodes();
    ExpectNear(nodes[0].basePoint, head);
    for (int k = 1; k < 20; ++k) ASSERT_NEAR(Gap(nodes, k), 0.05, 1e-9) << frame << " " << k;
    for (int k = 0; k < 20; ++k) {
      const RibbonNode& n = nodes[k];
      Vector3 z;
      ASSERT_NEAR(Length(n.axisY), 1, 1e-9);
      ASSERT_NEAR(Dot(n.axisX, n.axisY), 0, 1e-9);
      ASSERT_NEAR(Dot(Cross(n.axisX, n.axisY, z), n.axisZ), 1, 1e-9);
    }
  }
}

TEST(Ribbon, CoincidentNodesAreSeparatedAlongMinusX) {
  Ribbon ribbon;
  for (int k = 0; k < 20; ++k) ribbon.GetNodes()[k].basePoint = Vector3(2, 3, 4);
  ribbon.Relax();
  ExpectNear(ribbon.GetNodes()[1].basePoint, Vector3(1.95, 3, 4));
  ExpectNear(ribbon.GetNodes()[0].axisX, Vector3(1, 0, 0));
  for (int k = 1; k < 20; ++k) EXPECT_NEAR(Gap(ribbon.GetNodes(), k), 0.05, 1e-12);
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

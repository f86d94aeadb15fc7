// The flowers' meshes, their spring and their stalks' nodes.
#include <gtest/gtest.h>

#include <cmath>

#include "common/quiet_seed.h"
#include "flowers/flower_instance.h"
#include "flowers/flower_meshes.h"

namespace driftglass {
namespace {

Vector3 At(const std::vector<float>& data, size_t offset, int vertex) {
  return Vector3(data[offset + 3 * vertex], data[offset + 3 * vertex + 1],
                 data[offset + 3 * vertex + 2]);
}

TEST(FlowerMeshes, TheStalkTapersAndTheBudFacesOutward) {
  const StalkMesh stalk = BuildStalkMesh();
  // The fourth side closes the tube back to the first vertex.
  EXPECT_EQ(std::vector<uint32_t>(stalk.indices.begin() + 18, stalk.indices.begin() + 24),
            (std::vector<uint32_t>{3, 0, 7, 0, 4, 7}));

  // The bud's transform mirrors x (its first column is -axisX): every triangle that is not
  // degenerate must then wind counter-clockwise seen from outside the sphere.
  const BudMesh bud = BuildBudMesh();
  int checked = 0;
  for (size_t t = 0; t < bud.indices.size(); t += 3) {
    Vector3 p[3], e1, e2, normal, centre, out;
    for (int c = 0; c < 3; ++c) {
      p[c] = At(bud.data, 0, static_cast<int>(bud.indices[t + c]));
      p[c].x = -p[c].x;
    }
    Cross(Subtract(p[1], p[0], e1), Subtract(p[2], p[0], e2), normal);
    if (Length(normal) < 1e-9) continue;  // next to the pole
    Add(Add(p[0], p[1], centre), p[2], centre);
    Subtract(centre, Vector3(-3, 0, 0), out);  // from the mirrored centre, three times over
    ASSERT_GT(Dot(normal, out), 0) << "triangle " << t / 3;
    ++checked;
  }
  EXPECT_EQ(checked, 7 * 15 * 2 - 15);  // the 15 next to the pole are degenerate
}

TEST(Flowers, StalkNodesRiseFromTheRootAndCurlOverWhenBentHard) {
  Ribbon ribbon;
  const FlowerInstance first = FlowerInstance::First();
  BuildStalkNodes(ribbon, first.root, first.direction, first.bend, first.length);
  const RibbonNode* nodes = ribbon.GetNodes();
  EXPECT_EQ(nodes[0].basePoint.y, -0.6);
  EXPECT_GT(nodes[19].basePoint.y, nodes[0].basePoint.y + 0.3);  // upwards, along -axisX
  Vector3 gap;
  EXPECT_NEAR(Length(Subtract(nodes[1].basePoint, nodes[0].basePoint, gap)), 0.03, 1e-12);
  EXPECT_NEAR(Length(Subtract(StalkTip(ribbon, 0.6), nodes[19].basePoint, gap)), 0.03, 1e-12);
  // Bent hard enough, an axis that would turn back against the stalk's direction snaps
  // straight down instead, and stays so.
  for (const double bend : {0.5, 1.0, 1.5, 5.0, 40.0}) {
    BuildStalkNodes(ribbon, first.root, first.direction, bend, first.length);
    bool snapped = false;
    for (int k = 0; k < 20; ++k) {
      snapped = snapped || nodes[k].axisX.y == 1.0;
      EXPECT_TRUE(snapped ? nodes[k].axisX.y == 1.0 : Dot(first.direction, nodes[k].axisX) >= 0)
          << bend << " " << k;
    }
    EXPECT_EQ(snapped, bend >= 1.5) << bend;
  }
}

TEST(Flowers, HolesBreatheTheLightClimbsAndTimeWraps) {
  ASSERT_TRUE(SeedQuietly(0.99, 3));
  FlowerInstance flower = FlowerInstance::Second();  // period 2123 ms
  flower.Update(0);
  EXPECT_NEAR(flower.holesRadius, 0.2, 1e-12);  // smallest at the start of the period
  EXPECT_NEAR(flower.lightPosition, -6.0, 1e-12);
  flower.Update(10 * 2123.0 + 1061.5);  // one huge frame lands in the right place
  EXPECT_NEAR(flower.time, 1061.5, 1e-9);
  flower.Update(0);  // halfway: the holes are widest and the light at the middle
  EXPECT_NEAR(flower.holesRadius, 0.3, 1e-6);
  EXPECT_NEAR(flower.lightPosition, 0.0, 1e-9);
}

}  // namespace
}  // namespace driftglass

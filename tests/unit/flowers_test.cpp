// The flowers' breathing holes and climbing light, their clock, a stalk bent hard, the way the
// stalk's triangles face, and the spring after the gaps a real machine leaves between frames.
#include <gtest/gtest.h>

#include "common/quiet_seed.h"
#include "flowers/flower_instance.h"
#include "flowers/flower_meshes.h"
#include "foundation/random_source.h"
#include "scene/scene.h"

namespace driftglass {
namespace {

TEST(Flowers, HolesBreatheTheLightClimbsTimeWrapsAndABentStalkNeverTurnsBack) {
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
  // Bent hard, no axis turns back against the stalk's direction: the tip's stands upright.
  Ribbon stalk;
  BuildStalkNodes(stalk, flower.root, flower.direction, 1.5, flower.length);
  for (int k = 0; k < 20; ++k) {
    const Vector3& axis = stalk.GetNodes()[k].axisX;
    EXPECT_TRUE(axis.y == 1.0 || (k < 19 && Dot(flower.direction, axis) >= 0)) << k;
  }
}

TEST(FlowerMeshes, EveryTriangleOfTheStalkFacesTheWayItsNormalsDo) {
  const StalkMesh stalk = BuildStalkMesh();
  const auto at = [&](size_t offset, uint32_t v) {
    return Vector3(stalk.data[offset + 3 * v], stalk.data[offset + 3 * v + 1],
                   stalk.data[offset + 3 * v + 2]);
  };
  for (size_t i = 0; i < stalk.indices.size(); i += 3) {
    const uint32_t a = stalk.indices[i], b = stalk.indices[i + 1], c = stalk.indices[i + 2];
    Vector3 facing;
    Cross(at(0, b) - at(0, a), at(0, c) - at(0, a), facing);
    EXPECT_GT(Dot(facing, at(StalkMesh::kNormalsOffset, a)), 0) << i / 3;
  }
}

// Each gap reaches the spring as the bounded step the render thread hands it, which must be
// one the spring stands: a longer bound would fling the stalks. (The bound itself is the
// render thread's.) One second, a 20 s pause, an hour's suspend, a whole turn of the tick
// counter.
constexpr uint32_t kGaps[] = {1000, 20000, 3600000, 0xFFFFFFFFu};

TEST(AfterAPause, TheFlowersStandAsTheyStood) {
  for (const uint32_t gap : kGaps) {
    SeedRandom(11);
    FlowerInstance flowers[] = {FlowerInstance::First(), FlowerInstance::Second()};
    // A minute of frames, ten frames as slow as the gap (a machine crawling out of a pause),
    // then two minutes more: the stalks never fall and never bend far from where they rest.
    for (int frame = 0; frame < 3750 + 10 + 7500; ++frame) {
      const bool slow = frame >= 3750 && frame < 3760;
      for (FlowerInstance& flower : flowers) {
        flower.Update(slow ? BoundedStepMs(gap) : 16.0);
        ASSERT_NEAR(flower.bend / flower.restBend, 1.0, 0.1) << gap << " frame " << frame;
        const Vector3 tip = StalkTip(flower.ribbon, flower.length);
        ASSERT_GT(tip.y, flower.root.y + 0.5 * flower.length) << gap << " frame " << frame;
      }
    }
  }
}

}  // namespace
}  // namespace driftglass

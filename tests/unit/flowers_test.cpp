// The flowers' breathing holes and climbing light, their clock, and a stalk bent hard.
#include <gtest/gtest.h>

#include "common/quiet_seed.h"
#include "flowers/flower_instance.h"

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

}  // namespace
}  // namespace driftglass

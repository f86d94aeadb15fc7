// The flowers' spring after the gaps a real machine leaves between two frames: a stopped
// process, a stalled or sleeping machine, a tick counter that runs past its wrap. Each gap
// reaches it as the bounded step the render thread hands it, which must be one the spring
// stands: a longer bound would fling the stalks. (The bound itself is the render thread's.)
#include <gtest/gtest.h>

#include "flowers/flower_instance.h"
#include "foundation/random_source.h"
#include "scene/scene.h"

namespace driftglass {
namespace {

// One second, a 20 s pause, an hour's suspend, a whole turn of the tick counter.
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

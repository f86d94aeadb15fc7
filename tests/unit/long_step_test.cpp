// The parts that move with the frame's step, after the gaps a real machine leaves between two
// frames: a stopped process, a stalled or sleeping machine, a tick counter that runs past its
// wrap. Each gap reaches the parts as the bounded step the render thread hands them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "creature/flight_controller.h"
#include "decor/sea_simulation.h"
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

TEST(AfterAPause, TheSeaRunsNoMoreStepsThanInAQuarterSecond) {
  for (const uint32_t gap : kGaps) {
    SeaSimulation sea;
    for (int frame = 0; frame < 10; ++frame) sea.Update(16);
    const double pending = sea.PendingMs();
    sea.Update(BoundedStepMs(gap));
    const double steps = (pending + BoundedStepMs(gap) - sea.PendingMs()) / SeaSimulation::kStepMs;
    ASSERT_LE(steps, 5.0) << gap;
  }
}

TEST(AfterAPause, TheCreatureGoesOnFromWhereItWas) {
  for (const uint32_t gap : kGaps) {
    SeedRandom(5);
    Ribbon ribbon;
    FlightController flight(ribbon);
    for (int frame = 0; frame < 1000; ++frame) flight.Update(16);
    const Vector3 before = ribbon.GetNodes()[0].basePoint;
    flight.Update(BoundedStepMs(gap));
    // Its fastest flight covers 2 units a second.
    EXPECT_LE(Length(ribbon.GetNodes()[0].basePoint - before), 0.002 * kLongestStepMs + 1e-9)
        << gap;
  }
}

}  // namespace
}  // namespace driftglass

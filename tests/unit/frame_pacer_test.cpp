// Frame pacing where the buffer swap does not wait for the display.
#include "host/frame_pacer.h"

#include <gtest/gtest.h>

namespace driftglass {
namespace {

TEST(FramePacer, FastSwapsWaitOutTheirPeriodAndSlowOrWaitingSwapsGoOn) {
  // One refresh of a display whose rate is unknown is taken as 60 Hz; no swap interval, no
  // pacing at all.
  const double period = FramePacer::PeriodFor(1, 0);
  EXPECT_NEAR(period, 1000.0 / 60, 1e-9);
  EXPECT_EQ(FramePacer::PeriodFor(0, 60), 0);
  // Swaps that return at once (3 ms of drawing): each frame waits to exactly one period.
  FramePacer fast(period);
  double now = 0;
  EXPECT_EQ(fast.WaitAfterSwap(now), 0);
  for (int frame = 0; frame < 100; ++frame) {
    now += 3;
    const double wait = fast.WaitAfterSwap(now);
    EXPECT_NEAR(wait, period - 3, 1e-9);
    now += wait;
  }
  EXPECT_NEAR(now, 100 * period, 1e-6);  // 60 frames a second, no more

  // Swaps that waited for the display come a period apart, give or take its jitter: nothing
  // is added, or a real display would lose refreshes.
  FramePacer waiting(period);
  now = 1000;
  waiting.WaitAfterSwap(now);
  for (double jitter : {0.8, -1.2, 0.3, -0.9, 1.5}) {
    now += period + jitter;
    EXPECT_EQ(waiting.WaitAfterSwap(now), 0) << jitter;
  }
  // One well before its time (six tenths of a period) waits out the rest.
  now += 0.6 * period;
  EXPECT_NEAR(waiting.WaitAfterSwap(now), 0.4 * period, 1e-9);
  // A frame slower than the period goes on at once; the next is timed from it.
  now += 40;
  EXPECT_EQ(waiting.WaitAfterSwap(now), 0);
  now += 2;
  EXPECT_NEAR(waiting.WaitAfterSwap(now), period - 2, 1e-9);

  FramePacer free(0);  // vsync off
  EXPECT_EQ(free.WaitAfterSwap(0), 0);
  EXPECT_EQ(free.WaitAfterSwap(0.5), 0);
}

}  // namespace
}  // namespace driftglass

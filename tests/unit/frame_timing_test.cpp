// The frame-rate text and the average behind the "FPS = %g" line, and frame pacing where the
// buffer swap does not wait for the display.
#include <gtest/gtest.h>

#include <string>

#include "host/frame_pacer.h"
#include "host/frame_rate_counter.h"

namespace driftglass {
namespace {

TEST(FrameRateCounter, ShowsDashesFirstThenSettlesAndThenMovesSlowly) {
  FrameRateCounter counter;
  EXPECT_EQ(counter.AverageFrameRate(), -1.0);  // nothing measured
  EXPECT_STREQ(counter.Measure(0), "---");
  uint32_t tick = 0;
  std::string text;
  for (int i = 0; i < 30000; ++i) text = counter.Measure(tick += 20);
  EXPECT_EQ(text, "FPS : 50");
  EXPECT_EQ(counter.SampleCount(), 1000.0);
  // Past a thousand samples one slow frame weighs a thousandth.
  const double before = counter.MeanFrameMs();
  counter.Measure(tick += 1020);
  EXPECT_NEAR(counter.MeanFrameMs() - before, 1.0, 1e-9);
}

TEST(FrameRateCounter, TheTickCountersWrapGivesTheTrueDelta) {
  FrameRateCounter counter;
  counter.Measure(0xFFFFFFF0u);
  counter.Measure(0x00000004u);                   // 20 ms later, across the wrap
  EXPECT_DOUBLE_EQ(counter.MeanFrameMs(), 10.0);  // mean of 0 and 20
  int right = 0, bottom = 0;
  FrameRateCounter::TextRectangle(1280, 1024, right, bottom);
  EXPECT_EQ(right, 128);
  EXPECT_EQ(bottom, 102);
}

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

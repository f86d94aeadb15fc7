// The frame-rate text and the average behind the "FPS = %g" line.
#include "host/frame_rate_counter.h"

#include <gtest/gtest.h>

#include <string>

namespace driftglass {
namespace {

TEST(FrameRateCounter, FirstFrameShowsDashesThenSettlesAtSteadyRate) {
  FrameRateCounter counter;
  EXPECT_EQ(counter.AverageFrameRate(), -1.0);
  EXPECT_STREQ(counter.Measure(5000), "---");
  EXPECT_EQ(counter.AverageFrameRate(), -1.0);
  std::string text;
  for (uint32_t tick = 5020; tick <= 5000 + 20 * 400; tick += 20) text = counter.Measure(tick);
  // 400 deltas of 20 ms and the first frame's 0 make a mean just under 20 ms.
  EXPECT_NEAR(counter.MeanFrameMs(), 20.0 * 400 / 401, 1e-9);
  for (uint32_t tick = 5000 + 20 * 401; counter.SampleCount() < 1000 || tick < 50000; tick += 20)
    text = counter.Measure(tick);
  EXPECT_NEAR(counter.AverageFrameRate(), 50.0, 0.1);
}

TEST(FrameRateCounter, ExactTwentyMillisecondsReadsFps50) {
  FrameRateCounter counter;
  counter.Measure(0);
  // The zero first delta weighs 1/n; after the cap it fades with weight 1/1000 per frame.
  uint32_t tick = 0;
  std::string text;
  for (int i = 0; i < 30000; ++i) text = counter.Measure(tick += 20);
  EXPECT_EQ(text, "FPS : 50");
  EXPECT_EQ(counter.SampleCount(), 1000.0);
}

TEST(FrameRateCounter, CapsSamplesSoAChangeMovesSlowly) {
  FrameRateCounter counter;
  uint32_t tick = 0;
  counter.Measure(tick);
  for (int i = 0; i < 2000; ++i) counter.Measure(tick += 10);
  EXPECT_EQ(counter.SampleCount(), 1000.0);
  const double before = counter.MeanFrameMs();
  counter.Measure(tick += 1010);  // one slow frame of a second
  EXPECT_NEAR(counter.MeanFrameMs() - before, (1010 - before) / 1000, 1e-9);
}

TEST(FrameRateCounter, TickWrapGivesTheTrueDelta) {
  FrameRateCounter counter;
  counter.Measure(0xFFFFFFF0u);
  counter.Measure(0x00000004u);                   // 20 ms later, across the wrap
  EXPECT_DOUBLE_EQ(counter.MeanFrameMs(), 10.0);  // mean of 0 and 20
}

TEST(FrameRateCounter, RectangleIsATenthOfTheScreen) {
  int right = 0;
  int bottom = 0;
  FrameRateCounter::TextRectangle(1280, 1024, right, bottom);
  EXPECT_EQ(right, 128);
  EXPECT_EQ(bottom, 102);
}

}  // namespace
}  // namespace driftglass

// The frame-rate text and the average behind the "FPS = %g" line.
#include "host/frame_rate_counter.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace driftglass

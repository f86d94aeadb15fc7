// The banner's opacity schedule and the near cliff's alpha merge.
#include <gtest/gtest.h>

#include "decor/cliffs.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

TEST(WelcomingMessage, FadesInStaysAndFadesOutOverTwentySeconds) {
  EXPECT_EQ(WelcomingMessage::Opacity(0), 0.0);
  EXPECT_EQ(WelcomingMessage::Opacity(3999), 0.0);
  EXPECT_NEAR(WelcomingMessage::Opacity(5250), 0.5, 1e-12);
  EXPECT_EQ(WelcomingMessage::Opacity(10000), 1.0);
  EXPECT_NEAR(WelcomingMessage::Opacity(18750), 0.5, 1e-12);
  EXPECT_NEAR(WelcomingMessage::Opacity(20000), 0.0, 1e-12);
  // One 30-second frame jumps straight past the end: below zero, which draws nothing.
  EXPECT_LT(WelcomingMessage::Opacity(30000), 0.0);
  // Continuous at every boundary.
  for (double boundary : {4000.0, 6500.0, 17500.0}) {
    EXPECT_NEAR(WelcomingMessage::Opacity(boundary - 1e-6), WelcomingMessage::Opacity(boundary),
                1e-6)
        << boundary;
  }
}

TEST(NearCliff, AlphaIsTheMasksFirstByteWhateverTheColourHeld) {
  std::vector<uint32_t> colour = {0xFF102030u, 0x00405060u, 0x7F708090u};
  const std::vector<uint32_t> mask = {0x00000000u, 0x00FFFFFFu, 0x55808080u};
  MergeMaskIntoAlpha(colour, mask);
  EXPECT_EQ(colour[0], 0x00102030u);
  EXPECT_EQ(colour[1], 0xFF405060u);
  EXPECT_EQ(colour[2], 0x80708090u);
}

}  // namespace
}  // namespace driftglass

// The banner's opacity schedule and the near cliff's alpha merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// Every sample linear filtering reads at t, with repeat wrapping: rows floor(t*h - 0.5) and the
// one below, taken modulo the height.
std::vector<uint32_t> AlphasReadAt(const std::vector<uint32_t>& pixels, int width, int height,
                                   double t) {
  const int upper = static_cast<int>(std::floor(t * height - 0.5));
  std::vector<uint32_t> alphas;
  for (int row : {upper, upper + 1}) {
    const int wrapped = (row % height + height) % height;
    for (int x = 0; x < width; ++x) alphas.push_back(pixels[wrapped * width + x] >> 24);
  }
  return alphas;
}

TEST(NearCliff, BandsSkipOnlyClearSamplesAndLeaveBlendingOnlyWhereSamplesAreSolid) {
  constexpr int kWidth = 4, kHeight = 64;
  constexpr double kBottomT = 0.99;
  // Clear rows, then a ragged edge (one stray pixel high up), then solid rock to the bottom.
  std::vector<uint32_t> pixels(kWidth * kHeight, 0xFF000000u);
  for (int row = 0; row < 30; ++row) {
    for (int x = 0; x < kWidth; ++x) pixels[row * kWidth + x] = 0x00000000u;
  }
  pixels[12 * kWidth + 2] = 0x01000000u;
  pixels[40 * kWidth + 1] = 0x80000000u;
  const MaskBands bands = FindMaskBands(pixels, kWidth, kHeight, kBottomT);
  EXPECT_LT(bands.clearTop, bands.clearBottom);
  EXPECT_LE(bands.clearBottom, bands.solidTop);
  EXPECT_LT(bands.solidTop, kBottomT);
  for (double t = 0; t <= kBottomT; t += 1.0 / 4096) {
    const auto alphas = AlphasReadAt(pixels, kWidth, kHeight, t);
    const bool allClear = std::all_of(alphas.begin(), alphas.end(), [](uint32_t a) { return a == 0; });
    const bool allSolid =
        std::all_of(alphas.begin(), alphas.end(), [](uint32_t a) { return a == 255; });
    if (t >= bands.clearTop && t <= bands.clearBottom) {
      EXPECT_TRUE(allClear) << t;
    }
    if (t >= bands.solidTop) {
      EXPECT_TRUE(allSolid) << t;
    }
  }
  // The runs reach as far as they may: the stray pixel's rows and the half-solid row bound them.
  EXPECT_NEAR(bands.clearBottom * kHeight, 11, 1e-9);
  EXPECT_NEAR(bands.solidTop * kHeight, 42, 1e-9);

  // All mixed: everything is blended, nothing skipped.
  std::vector<uint32_t> half(kWidth * kHeight, 0x80000000u);
  const MaskBands none = FindMaskBands(half, kWidth, kHeight, kBottomT);
  EXPECT_EQ(none.clearTop, none.clearBottom);
  EXPECT_EQ(none.solidTop, kBottomT);
  // A quad sampled down to the last row would wrap onto the first one: no solid band then.
  EXPECT_EQ(FindMaskBands(pixels, kWidth, kHeight, 1.0).solidTop, 1.0);
}

}  // namespace
}  // namespace driftglass

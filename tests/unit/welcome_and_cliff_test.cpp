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

// The alphas linear filtering reads at (s, t) with repeat wrapping: the texels around
// (s * width - 0.5, t * height - 0.5) and the next ones, taken modulo the size.
std::vector<uint32_t> AlphasReadAt(const std::vector<uint32_t>& pixels, int width, int height,
                                   double s, double t) {
  const int column = static_cast<int>(std::floor(s * width - 0.5));
  const int row = static_cast<int>(std::floor(t * height - 0.5));
  std::vector<uint32_t> alphas;
  for (int y : {row, row + 1}) {
    for (int x : {column, column + 1}) {
      const int wrappedY = (y % height + height) % height;
      const int wrappedX = (x % width + width) % width;
      alphas.push_back(pixels[wrappedY * width + wrappedX] >> 24);
    }
  }
  return alphas;
}

bool Contains(const TexturePiece& piece, double s, double t) {
  return s >= piece.s0 && s < piece.s1 && t >= piece.t0 && t < piece.t1;
}

TEST(NearCliff, CellsLeaveOutOnlyClearSamplesAndBlendWhereverASampleIsNotSolid) {
  constexpr int kWidth = 64, kHeight = 64;
  constexpr double kBottomT = 0.99;
  // Clear sky over solid rock, with a ragged edge: a slope, a clear cove reaching down into
  // the rock, and one stray pixel high in the sky.
  std::vector<uint32_t> pixels(kWidth * kHeight, 0xFF000000u);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool sky = y < 12 + x / 8 || (x >= 32 && x < 56 && y < 36);
      if (sky) pixels[y * kWidth + x] = 0x00000000u;
      if (y == 12 + x / 8) pixels[y * kWidth + x] = 0x80000000u;
    }
  }
  pixels[5 * kWidth + 20] = 0x01000000u;
  const MaskCells cells = CutMaskIntoCells(pixels, kWidth, kHeight, kBottomT, 8, 4);

  // Deep in the sky and deep in the cove nothing is drawn.
  for (const auto& [s, t] : {std::pair{0.7, 0.1}, std::pair{0.69, 0.45}}) {
    for (const auto* list : {&cells.blended, &cells.solid}) {
      for (const TexturePiece& piece : *list) EXPECT_FALSE(Contains(piece, s, t)) << s << ", " << t;
    }
  }
  EXPECT_LT(cells.solidTop, kBottomT);

  int blendedSamples = 0;
  for (double t = 1.0 / 512; t < kBottomT; t += 1.0 / 256) {
    for (double s = 1.0 / 512; s < 1.0; s += 1.0 / 256) {
      const auto alphas = AlphasReadAt(pixels, kWidth, kHeight, s, t);
      const bool allClear =
          std::all_of(alphas.begin(), alphas.end(), [](uint32_t a) { return a == 0; });
      const bool allSolid =
          std::all_of(alphas.begin(), alphas.end(), [](uint32_t a) { return a == 255; });
      const auto count = [&](const std::vector<TexturePiece>& list) {
        return std::count_if(list.begin(), list.end(),
                             [&](const TexturePiece& piece) { return Contains(piece, s, t); });
      };
      const auto blended = count(cells.blended), solid = count(cells.solid);
      ASSERT_LE(blended + solid, 1) << "pieces overlap at " << s << ", " << t;
      if (blended + solid == 0) {
        EXPECT_TRUE(allClear) << "left out at " << s << ", " << t;
      }
      if (solid == 1) {
        EXPECT_TRUE(allSolid) << "unblended at " << s << ", " << t;
      }
      if (t >= cells.solidTop) {
        EXPECT_EQ(solid, 1) << "under the solid top at " << s << ", " << t;
      }
      blendedSamples += static_cast<int>(blended);
    }
  }
  EXPECT_GT(blendedSamples, 0);

  // All half transparent: one blended piece over everything, nothing solid.
  const std::vector<uint32_t> half(kWidth * kHeight, 0x80000000u);
  const MaskCells mixed = CutMaskIntoCells(half, kWidth, kHeight, kBottomT, 8, 4);
  ASSERT_EQ(mixed.blended.size(), 1u);
  EXPECT_EQ(mixed.blended[0].t1, kBottomT);
  EXPECT_TRUE(mixed.solid.empty());
  EXPECT_EQ(mixed.solidTop, kBottomT);
  // A quad sampled down to the last row would wrap onto the clear first one: nothing at its
  // foot is solid then.
  EXPECT_EQ(CutMaskIntoCells(pixels, kWidth, kHeight, 1.0, 8, 4).solidTop, 1.0);
}

}  // namespace
}  // namespace driftglass

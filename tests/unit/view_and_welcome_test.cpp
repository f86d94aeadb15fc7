// The view for each window shape, the banner's schedule and place, and the near cliff's cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "decor/cliffs.h"
#include "foundation/view_shape.h"
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

TEST(ViewShape, EveryShapeSeesTheWhole43FrameUnstretchedAndBeyondTheDecorGetsBars) {
  const double h = FourThreeHalfHeight(), w = FourThreeHalfWidth();
  EXPECT_NEAR(h, 4 * std::tan(10.5 / 180 * 3.14159265358979), 1e-12);
  struct Case {
    int width, height;
    double fieldOfViewY, halfWidth, halfHeight;
    PixelRect viewport;
  };
  const Case cases[] = {
      {400, 300, 21.0, w, h, {0, 0, 400, 300}},               // 4:3 as ever
      {1920, 1080, 21.0, h * 16 / 9, h, {0, 0, 1920, 1080}},  // wider: more at the sides
      {3840, 1080, 21.0, h * 32 / 9, h, {0, 0, 3840, 1080}},
      {1280, 1024, 22.366, w, w / 1.25, {0, 0, 1280, 1024}},  // narrower: more above and below
      {1080, 1920, 47.434, w, w * 16 / 9, {0, 0, 1080, 1920}},
      {4000, 1000, 21.0, h * 32 / 9, h, {222, 0, 3556, 1000}},  // past 32:9: bars at the sides
      {500, 1000, 47.434, w, w * 16 / 9, {0, 55, 500, 889}},    // past 9:16: above and below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const ViewShape view = ShapeViewFor(PixelRect{0, 0, c.width, c.height});
    EXPECT_NEAR(view.fieldOfViewY, c.fieldOfViewY, 0.01);
    EXPECT_NEAR(view.halfWidth, c.halfWidth, 1e-6);
    EXPECT_NEAR(view.halfHeight, c.halfHeight, 1e-6);
    // Round things stay round: the plane's shape is the viewport's.
    EXPECT_NEAR(view.halfWidth / view.halfHeight,
                static_cast<double>(view.viewport.width) / view.viewport.height, 2e-3);
    EXPECT_EQ(view.viewport, c.viewport);
    EXPECT_GE(view.halfWidth, w - 1e-9);  // the 4:3 frame is always whole
    EXPECT_GE(view.halfHeight, h - 1e-9);
  }
  EXPECT_EQ(ShapeViewFor(PixelRect{0, 0, 0, 10}).viewport.width, 0);
}

TEST(WelcomingMessage, SitsInTheUpperRightCornerAtItsShareOfTheViewsHeight) {
  const double h = FourThreeHalfHeight(), w = FourThreeHalfWidth();
  const QuadPlacement fourThree = WelcomingMessage::Placement(ShapeViewFor({0, 0, 400, 300}));
  EXPECT_NEAR(fourThree.left, 0.4, 1e-4);
  EXPECT_NEAR(fourThree.right, 0.978, 1e-4);
  EXPECT_NEAR(fourThree.bottom, 0.54, 1e-6);
  EXPECT_NEAR(fourThree.top, 0.732, 1e-6);
  for (const auto& [width, height] :
       {std::pair{1920, 1080}, {3840, 1080}, {1280, 1024}, {1080, 1920}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const ViewShape view = ShapeViewFor({0, 0, width, height});
    const QuadPlacement banner = WelcomingMessage::Placement(view);
    // In shares of the view's height, from its upper right corner.
    const double unit = 2 * view.halfHeight;
    EXPECT_NEAR((view.halfWidth - banner.right) / unit, (w - 0.978) / (2 * h), 1e-6);
    EXPECT_NEAR((view.halfHeight - banner.top) / unit, (h - 0.732) / (2 * h), 1e-6);
    EXPECT_NEAR((banner.top - banner.bottom) / unit, 0.192 / (2 * h), 1e-6);
    EXPECT_NEAR((banner.right - banner.left) / (banner.top - banner.bottom), 0.578 / 0.192, 1e-6);
    EXPECT_GT(banner.left, -view.halfWidth);  // whole inside the view
  }
}

// The alphas linear filtering reads at (s, t), clamped at the edges: the texels around
// (s * width - 0.5, t * height - 0.5) and the next ones.
std::vector<uint8_t> AlphasReadAt(const std::vector<uint8_t>& alpha, int width, int height,
                                  double s, double t) {
  const int column = static_cast<int>(std::floor(s * width - 0.5));
  const int row = static_cast<int>(std::floor(t * height - 0.5));
  std::vector<uint8_t> alphas;
  for (int y : {row, row + 1}) {
    for (int x : {column, column + 1}) {
      alphas.push_back(alpha[std::clamp(y, 0, height - 1) * width + std::clamp(x, 0, width - 1)]);
    }
  }
  return alphas;
}

bool Contains(const TexturePiece& piece, double s, double t) {
  return s >= piece.s0 && s < piece.s1 && t >= piece.t0 && t < piece.t1;
}

// The lowest and highest alpha of each 4 x 4 block, as MaskBlockRanges reads them.
std::vector<AlphaRange> BlockRanges(const std::vector<uint8_t>& alpha, int width, int height) {
  std::vector<AlphaRange> ranges;
  for (int by = 0; by < height / 4; ++by) {
    for (int bx = 0; bx < width / 4; ++bx) {
      AlphaRange range{255, 0};
      for (int k = 0; k < 16; ++k) {
        const uint8_t a = alpha[(by * 4 + k / 4) * width + bx * 4 + k % 4];
        range.low = std::min(range.low, a), range.high = std::max(range.high, a);
      }
      ranges.push_back(range);
    }
  }
  return ranges;
}

TEST(NearCliff, CellsLeaveOutOnlyClearSamplesAndBlendWhereverASampleIsNotSolid) {
  constexpr int kWidth = 64, kHeight = 64;
  // Clear sky over solid rock, with a ragged edge: a slope, a clear cove reaching down into
  // the rock, and one stray texel high in the sky.
  std::vector<uint8_t> alpha(kWidth * kHeight, 255);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool sky = y < 12 + x / 8 || (x >= 32 && x < 56 && y < 36);
      if (sky) alpha[y * kWidth + x] = 0;
      if (y == 12 + x / 8) alpha[y * kWidth + x] = 128;
    }
  }
  alpha[5 * kWidth + 20] = 1;
  const MaskCells cells(BlockRanges(alpha, kWidth, kHeight), kWidth / 4, kHeight / 4, 2, 1);
  // The whole width, and the left third only, whose rock reaches higher.
  for (const auto& [s0, s1] : {std::pair{0.0, 1.0}, std::pair{0.0, 0.35}}) {
    SCOPED_TRACE(s1);
    const double footTop = cells.SolidFrom(s0, s1);
    EXPECT_LT(footTop, 1.0);
    std::vector<TexturePiece> blended, solid;
    cells.PiecesAbove(footTop, s0, s1, blended, solid);
    // Deep in the sky nothing is drawn.
    for (const auto* list : {&blended, &solid}) {
      for (const TexturePiece& piece : *list) EXPECT_FALSE(Contains(piece, 0.1, 0.05));
    }
    int blendedSamples = 0;
    for (double t = 1.0 / 512; t < 1.0; t += 1.0 / 256) {
      for (double s = s0 + 1.0 / 512; s < s1; s += 1.0 / 256) {
        const auto alphas = AlphasReadAt(alpha, kWidth, kHeight, s, t);
        const bool allClear = std::ranges::all_of(alphas, [](int a) { return a == 0; });
        const bool allSolid = std::ranges::all_of(alphas, [](int a) { return a == 255; });
        const auto count = [&](const std::vector<TexturePiece>& list) {
          return std::ranges::count_if(list, [&](const auto& p) { return Contains(p, s, t); });
        };
        const auto inBlended = count(blended), inSolid = count(solid);
        ASSERT_LE(inBlended + inSolid, 1) << "pieces overlap at " << s << ", " << t;
        if (t >= footTop) {
          EXPECT_EQ(inBlended + inSolid, 0) << "a piece in the foot at " << s << ", " << t;
          EXPECT_TRUE(allSolid) << "the foot is not solid at " << s << ", " << t;
        } else if (inBlended + inSolid == 0) {
          EXPECT_TRUE(allClear) << "left out at " << s << ", " << t;
        }
        if (inSolid == 1) {
          EXPECT_TRUE(allSolid) << "unblended at " << s << ", " << t;
        }
        blendedSamples += static_cast<int>(inBlended);
      }
    }
    EXPECT_GT(blendedSamples, 0);
  }
  EXPECT_LT(cells.SolidFrom(0.0, 0.35), cells.SolidFrom(0.0, 1.0));  // the cove's rows are not

  // All half transparent: blended pieces over everything, nothing solid, no foot.
  const std::vector<uint8_t> half(kWidth * kHeight, 128);
  const MaskCells mixed(BlockRanges(half, kWidth, kHeight), kWidth / 4, kHeight / 4, 2, 1);
  EXPECT_EQ(mixed.SolidFrom(0, 1), 1.0);
  std::vector<TexturePiece> blended, solid;
  mixed.PiecesAbove(1.0, 0, 1, blended, solid);
  ASSERT_EQ(blended.size(), 1u);
  EXPECT_EQ(blended[0].t1, 1.0);
  EXPECT_EQ(blended[0].s1, 1.0);
  EXPECT_TRUE(solid.empty());
}

}  // namespace
}  // namespace driftglass

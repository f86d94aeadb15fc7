// The decor and the banner on a real OpenGL context (Mesa on Xvfb): every pixel painted at any
// window shape and copied frames as painted ones, when a layer is copied, and at the screen
// shapes people have, from 9:16 to 32:9, the moon round, no row of the sky standing out and
// the banner in the corner. (What they look like shows in the reference frames.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "decor/manager_decor.h"
#include "foundation/gl.h"
#include "foundation/layer_copy.h"
#include "foundation/random_source.h"
#include "foundation/view_shape.h"
#include "gl_test.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

using GlDecorTest = gltest::GlTest;

TEST_F(GlDecorTest, TheDecorPaintsEveryPixelAndItsCopiedFramesMatchPaintedOnes) {
  // The frame's colour is not cleared before the decor, and the backdrop and the shore's foot
  // are copied from the second frame at a size on. So at any window shape: what a frame held
  // before never shows through, and copied frames look as painted ones do.
  SeedRandom(5);  // the drops that set the waves going
  ManagerDecor decor;
  ASSERT_TRUE(decor.IsValid());
  const int sizes[][2] = {{1024, 512}, {400, 300}, {300, 500}, {97, 61}};
  for (const auto& [width, height] : sizes) {
    const ViewShape view = ShapeViewFor(PixelRect{0, 0, width, height});
    ApplyView(view);
    decor.Reshape({view});
    // Each frame drawn twice, over magenta and over green. The first is painted from the
    // compressed pictures, the second from the decoded ones and makes the copies, the rest are
    // copied.
    std::vector<std::vector<uint8_t>> frames;
    for (int frame = 0; frame < 6; ++frame) {
      const bool green = frame % 2 == 1;
      glClearColor(green ? 0.0f : 1.0f, green ? 1.0f : 0.0f, green ? 0.0f : 1.0f, 1.0f);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      decor.Draw(0);
      frames.push_back(context_.ReadPixels());
    }
    // Counts the values of the viewport that differ between two frames by more than `levels`.
    const auto differing = [&](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                               int levels) {
      int count = 0;
      for (int y = 0; y < height; ++y) {
        const size_t row = static_cast<size_t>(context_.Height() - 1 - y) * context_.Width();
        for (size_t c = row * 4; c < (row + width) * 4; ++c) {
          if (c % 4 != 3 && std::abs(a[c] - b[c]) > levels) ++count;
        }
      }
      return count;
    };
    // Magenta or green showing through would be far more than the few levels by which the
    // driver's decoding of the compressed pictures differs from ours.
    for (int frame = 0; frame + 1 < 6; frame += 2) {
      EXPECT_EQ(differing(frames[frame], frames[frame + 1], 64), 0)
          << "shows through at " << width << "x" << height << ", frame " << frame;
    }
    // A copy is painted into a texture of its own, which rounds a little differently from
    // the window: a level here and there.
    EXPECT_EQ(differing(frames[1], frames[5], 1), 0) << width << "x" << height;
    EXPECT_LE(differing(frames[1], frames[5], 0), width * height * 3 / 100)
        << width << "x" << height;
    // A second of waves on, the sea has moved: that frame is painted, not put back.
    decor.Update(1000);
    decor.Draw(0);
    EXPECT_GT(differing(frames[5], context_.ReadPixels(), 2), 0) << width << "x" << height;
  }
  ApplyView(ShapeViewFor({0, 0, context_.Width(), context_.Height()}));
  glClearColor(0, 0, 0, 1);
  ExpectTheSceneState("the decor");
}

TEST_F(GlDecorTest, ALayerIsCopiedOnTheSecondFrameAtAViewportAndPutBackFromTheThird) {
  LayerCopy copy;
  for (const int width : {1024, 512}) {  // each new viewport makes its copy again
    copy.Reshape({0, 0, width, 512});
    std::string frames;
    for (int frame = 0; frame < 3; ++frame) {
      frames += copy.Draw([] { return PixelRect{0, 0, 64, 64}; }, [] {}) ? 'c' : 'p';
    }
    EXPECT_EQ(frames, "ppc") << width;
  }
}

class GlViewShapesTest : public gltest::GlTest {
 protected:
  GlViewShapesTest() : GlTest(1280, 1024) {}

  // After clearing the window to magenta (a colour the scene never has) and drawing `draw`
  // in a view of `width` x `height` whose upper left corner is the window's, the pixels of
  // the view that the window holds, rows from the top; their width in `shown`.
  template <typename Draw>
  std::vector<uint8_t> DrawnAt(int width, int height, ViewShape& view, int& shown, Draw draw) {
    view = ShapeViewFor(PixelRect{0, context_.Height() - height, width, height});
    ApplyView(view);
    const std::vector<uint8_t> window = DrawnOverMagenta(draw);
    shown = std::min(width, context_.Width());
    std::vector<uint8_t> pixels;
    for (int y = 0; y < std::min(height, context_.Height()); ++y) {
      const auto row = window.begin() + static_cast<size_t>(y) * context_.Width() * 4;
      pixels.insert(pixels.end(), row, row + shown * 4);
    }
    return pixels;
  }
};

// Where the painted moon's centre lies on the plane z = 0, and its radius there.
constexpr double kMoonX = -0.41406, kMoonY = 0.5103, kMoonRadius = 0.046875;

TEST_F(GlViewShapesTest, AtEveryShapeTheDecorFillsTheViewTheMoonIsRoundAndNoSkyRowStandsOut) {
  ManagerDecor decor;
  ASSERT_TRUE(decor.IsValid()) << Log();
  WelcomingMessage banner;
  ASSERT_TRUE(banner.IsValid());
  banner.Update(10000);  // drawn opaque
  // A 4K screen, of which the window holds the upper left part, where the pictures are
  // magnified; 5:4, 4:3, 16:9, 21:9, 32:9 and 9:16, the last ending with the banner drawn.
  const int shapes[][2] = {{3840, 2160}, {1280, 1024}, {1280, 960}, {1280, 720},
                           {1280, 540},  {1280, 360},  {576, 1024}};
  for (const auto& [width, height] : shapes) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    ViewShape view;
    int shown = 0;
    const std::vector<uint8_t> frame = DrawnAt(width, height, view, shown, [&] {
      decor.Reshape({view});
      decor.Update(60);
      decor.Draw(0);
    });
    const auto at = [&](int x, int y) { return &frame[(static_cast<size_t>(y) * shown + x) * 4]; };
    const double pixelsPerUnit = height / (2 * view.halfHeight);

    // Every row of the sky, down to just above the peaks, is within two levels of one of its
    // neighbours.
    const int skyRows =
        std::min(static_cast<int>((view.halfHeight - 0.25) * pixelsPerUnit), context_.Height());
    std::vector<double> rows(skyRows, 0.0);
    for (int y = 0; y < skyRows; ++y) {
      for (int x = 0; x < shown; ++x) {
        const uint8_t* p = at(x, y);
        rows[y] += (0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) / shown;
      }
    }
    for (int y = 1; y + 1 < skyRows; ++y) {
      const double up = rows[y] - rows[y - 1], down = rows[y] - rows[y + 1];
      EXPECT_FALSE((up > 2 && down > 2) || (up < -2 && down < -2)) << "row " << y;
    }
    if (width > context_.Width()) continue;

    int unpainted = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) unpainted += Magenta(at(x, y));
    }
    EXPECT_EQ(unpainted, 0);

    // The moon: the bright pixels within two of its radii of where it was painted (no star
    // shines that near it). As wide as it is high, by their spread each way.
    const double cx = (kMoonX + view.halfWidth) * pixelsPerUnit;
    const double cy = (view.halfHeight - kMoonY) * pixelsPerUnit;
    const int reach = static_cast<int>(2 * kMoonRadius * pixelsPerUnit);
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0;
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
      for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
        if (at(x, y)[0] < 150) continue;
        n += 1, sx += x, sy += y, sxx += double(x) * x, syy += double(y) * y;
      }
    }
    EXPECT_GT(n, 100);
    if (n <= 100) continue;
    const double spreadX = sxx / n - (sx / n) * (sx / n), spreadY = syy / n - (sy / n) * (sy / n);
    EXPECT_NEAR(std::sqrt(spreadX / spreadY), 1.0, 0.03);
    EXPECT_NEAR(std::sqrt(n / 3.14159265), kMoonRadius * pixelsPerUnit,
                0.1 * kMoonRadius * pixelsPerUnit);

    // The banner alone: inside the view's upper right corner, at its share of the height.
    const std::vector<uint8_t> alone =
        DrawnAt(width, height, view, shown, [&] { banner.Draw(view); });
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (Magenta(&alone[(static_cast<size_t>(y) * width + x) * 4])) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    const double share = (bottom - top + 1.0) / height;
    EXPECT_NEAR(share, 0.1295, 0.004);
    EXPECT_NEAR((right - left + 1.0) / (bottom - top + 1.0), 3.0, 0.1);  // never stretched
    EXPECT_NEAR(width - 1 - right, 0.0071 * height, 1.5);
    EXPECT_NEAR(top, 0.0063 * height, 1.5);
    EXPECT_GT(left, 0);
  }
  ApplyView(ShapeViewFor({0, 0, context_.Width(), context_.Height()}));
  ExpectTheSceneState("the decor and the banner");
}

}  // namespace
}  // namespace driftglass

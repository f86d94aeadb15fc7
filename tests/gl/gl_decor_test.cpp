// The decor on a real OpenGL context (Mesa on Xvfb): every pixel painted at any window shape,
// and copied frames as painted ones. (What it looks like shows in the reference frames.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "decor/manager_decor.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "foundation/view_shape.h"
#include "gl_test.h"

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

}  // namespace
}  // namespace driftglass

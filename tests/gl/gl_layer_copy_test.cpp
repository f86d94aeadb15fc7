// A layer painted once and copied onto later frames, on a real OpenGL context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "foundation/gl.h"
#include "foundation/layer_copy.h"
#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"
#include "gl_test.h"

namespace driftglass {
namespace {

class GlLayerCopyTest : public gltest::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    // A small picture of hard-edged colours, stretched and filtered: every pixel of the layer
    // is a blend that a copy one level off, or one pixel off, would not match.
    std::vector<uint32_t> pixels(13 * 7);
    for (size_t i = 0; i < pixels.size(); ++i) {
      pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u % 0xFFFFFFu);
    }
    picture_ = MakeTexture(pixels, 13, 7, GL_RGB8, GL_REPEAT, GL_LINEAR);
    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
  }
  void TearDown() override {
    picture_.Reset();
    glClearColor(0, 0, 0, 0);
    glViewport(0, 0, context_.Width(), context_.Height());
    GlTest::TearDown();
  }

  void Paint() {
    ++paints_;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    DrawTexturedQuad(kQuad);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
  }
  // One frame: cleared, then the layer painted straight or put on through the copy.
  std::vector<uint8_t> Frame(LayerCopy* copy) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (copy == nullptr) {
      Paint();
    } else {
      copy->Reshape(view_);  // as the scene passes it on; the same size again changes nothing
      copy->Draw([this] { return QuadWindowRect(kQuad, view_); }, [this] { Paint(); });
    }
    return context_.ReadPixels();
  }
  // Fails unless the frames differ nowhere by more than one level; returns how many values
  // differ at all.
  static int Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    EXPECT_EQ(a.size(), b.size());
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      if (a[i] == b[i]) continue;
      ++count;
      EXPECT_LE(std::abs(a[i] - b[i]), 1) << "at value " << i;
      if (std::abs(a[i] - b[i]) > 1) break;
    }
    return count;
  }

  void SetView(int width, int height) {
    glViewport(0, 0, width, height);
    view_ = PixelRect{0, 0, width, height};
  }

  // Reaching over the window's left edge and ending inside it on the other three sides.
  static constexpr QuadPlacement kQuad{-1.3, 0.62, -0.41, 0.53, 0.97};
  GlTexture picture_;
  int paints_ = 0;
  PixelRect view_{0, 0, 1024, 512};
};

TEST_F(GlLayerCopyTest, CopiedFramesMatchPaintedOnesAndFollowTheViewport) {
  ASSERT_TRUE(FramebufferObjectsAvailable());
  LayerCopy copy;
  const auto painted = Frame(nullptr);
  // The layer shows, and the clear colour around it.
  const auto at = [&](const std::vector<uint8_t>& frame, int x, int y) {
    return frame[(static_cast<size_t>(y) * context_.Width() + x) * 4];
  };
  EXPECT_EQ(at(painted, 1000, 10), 51);
  EXPECT_NE(at(painted, 100, 250), 51);

  // The first frame at a size is painted, the second makes the copy, later ones copy only.
  paints_ = 0;
  EXPECT_EQ(Frame(&copy), painted);
  const auto copied = Frame(&copy);
  EXPECT_LT(Differences(painted, copied), static_cast<int>(painted.size() / 1000));
  EXPECT_EQ(paints_, 2);
  EXPECT_EQ(Frame(&copy), copied);
  EXPECT_EQ(paints_, 2);
  ExpectTheSceneState("the copy");
  GLint framebuffer = -1, viewport[4] = {};
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(framebuffer, 0);
  EXPECT_EQ(viewport[2], context_.Width());

  // A window being resized changes size every frame: each is painted, none copied.
  paints_ = 0;
  for (int width : {900, 800, 700, 600}) {
    SetView(width, width / 2);
    Frame(&copy);
  }
  EXPECT_EQ(paints_, 4);
  // Settled at a smaller size, it is copied again, and the copy still matches.
  const auto smallPainted = Frame(nullptr);
  Frame(&copy);
  EXPECT_EQ(paints_, 6);
  EXPECT_LT(Differences(smallPainted, Frame(&copy)), static_cast<int>(painted.size() / 1000));
  EXPECT_EQ(paints_, 6);

  // A new copy in its place is made afresh; the old one's names go with it.
  SetView(context_.Width(), context_.Height());
  copy = LayerCopy();
  paints_ = 0;
  Frame(&copy);
  EXPECT_LT(Differences(painted, Frame(&copy)), static_cast<int>(painted.size() / 1000));
  EXPECT_EQ(Frame(&copy), copied);
  EXPECT_EQ(paints_, 2);
  copy = LayerCopy();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace driftglass

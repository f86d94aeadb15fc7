// Shader programs, pictures, the decor and the banner on a real OpenGL context (Mesa on Xvfb).
// (What they look like shows in the reference frames.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "decor/manager_decor.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "foundation/shader_program.h"
#include "foundation/texture_images.h"
#include "foundation/view_shape.h"
#include "gl_test.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

// Test shader ids, compiled into this test program only.
constexpr int kFlatVertex = 990;
constexpr int kFlatFragment = 991;
constexpr int kBrokenFragment = 992;

using GlDecorTest = gltest::GlTest;

TEST_F(GlDecorTest, ProgramsCompileLinkReportFailuresAndGiveBackWhatTheyMade) {
  // Every name made here is given back (a deleted shader lives on while a program holds it).
  const int atStart = LiveGlNames();
  GLuint program = 0;
  ASSERT_EQ(CreateProgram(kFlatVertex, kFlatFragment, program), 0) << Log();
  EXPECT_NE(program, 0u);
  const GLint colour = glGetUniformLocation(program, "uColour");
  EXPECT_NE(colour, -1);
  glUseProgram(program);
  SetUniform3(colour, Vector3(0.1, 0.2, 0.3));
  GLfloat stored[3] = {};
  glGetUniformfv(program, colour, stored);
  EXPECT_EQ(stored[0], 0.1f);  // the float nearest 0.1, not the double
  EXPECT_EQ(stored[2], 0.3f);
  glUseProgram(0);

  GLuint fragmentOnly = 0;
  EXPECT_EQ(CreateProgram(0, kFlatFragment, fragmentOnly), 0);

  GLuint untouched = 12345;
  EXPECT_EQ(CreateProgram(9999, kFlatFragment, untouched), 1);
  EXPECT_EQ(CreateProgram(kFlatVertex, kBrokenFragment, untouched), 1);
  EXPECT_EQ(untouched, 12345u);
  glDeleteProgram(program);
  glDeleteProgram(fragmentOnly);
  EXPECT_EQ(LiveGlNames(), atStart);
  const std::string log = Log();
  EXPECT_NE(log.find("(!)Error : Shader source 9999 is missing"), std::string::npos) << log;
  EXPECT_NE(log.find("(!)Error : Compiling shader 992 failed: "), std::string::npos) << log;
  EXPECT_NE(log.find("undefinedThing"), std::string::npos) << log;  // the compiler's words
}

TEST_F(GlDecorTest, EmbeddedPicturesLoadAsTheirKindAndRefuseOthers) {
  CompressedPicture picture;
  for (const int id : {kBackdropPicture, kSeaPicture, kNearCliffPicture}) {
    EXPECT_EQ(LoadCompressedPicture(picture, id, BlockKind::Colour), 0) << id;
  }
  EXPECT_EQ(LoadCompressedPicture(picture, kNearCliffMaskPicture, BlockKind::Mask), 0);
  std::vector<uint32_t> pixels;
  EXPECT_EQ(LoadBitmapResource(pixels, kBannerPicture, 512, 128), 0);
  CompressedPicture untouched;
  EXPECT_EQ(LoadCompressedPicture(untouched, kNearCliffMaskPicture, BlockKind::Colour), 1);
  EXPECT_EQ(LoadCompressedPicture(untouched, kSeaPicture, BlockKind::Mask), 1);
  EXPECT_EQ(LoadCompressedPicture(untouched, 4242, BlockKind::Colour), 1);
  EXPECT_TRUE(untouched.parts.empty());
  std::vector<uint32_t> seven = {7};
  EXPECT_EQ(LoadBitmapResource(seven, kBannerPicture, 512, 512), 1);  // wrong size
  EXPECT_EQ(LoadBitmapResource(seven, 4242, 512, 128), 1);            // missing
  EXPECT_EQ(seven, std::vector<uint32_t>{7});
  const std::string log = Log();
  EXPECT_NE(log.find("Picture 122 (S3TC) is a mask"), std::string::npos) << log;
  EXPECT_NE(log.find("Picture 4242 (S3TC) is missing"), std::string::npos) << log;
  EXPECT_NE(log.find("Picture 125 (BITMAP) is 512x128, not 512x512"), std::string::npos) << log;
}

TEST_F(GlDecorTest, TheDecorAndTheBannerBuildLogAndLeaveTheStateTheyFound) {
  ManagerDecor decor;
  EXPECT_TRUE(decor.IsValid()) << Log();
  const ViewShape view = ShapeViewFor(PixelRect{0, 0, context_.Width(), context_.Height()});
  ApplyView(view);
  decor.Reshape({view});
  WelcomingMessage banner;
  ASSERT_TRUE(banner.IsValid());
  decor.Update(120);
  decor.Draw(0);
  ExpectTheSceneState("the decor");
  banner.Update(10000);  // in the middle of its schedule, drawn opaque
  banner.Draw(view);
  ExpectTheSceneState("the banner");
}

TEST_F(GlDecorTest, TheDecorPaintsEveryPixelAndItsCopiedFramesMatchPaintedOnes) {
  // The frame's colour is not cleared before the decor, and the backdrop and the shore's foot
  // are copied from the second frame at a size on. So at any window shape: what a frame held
  // before never shows through, and copied frames look as painted ones do.
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
  }
  ApplyView(ShapeViewFor({0, 0, context_.Width(), context_.Height()}));
  glClearColor(0, 0, 0, 1);
  ExpectTheSceneState("the decor");
}

TEST_F(GlDecorTest, FramesBetweenWaveStepsMatchFramesPaintedAfresh) {
  // Between two steps of the waves, a frame copies the decor as the frame before left it.
  // The same waves, painted afresh each frame (a viewport new every frame makes no
  // copies), must look the same at every frame rate. Painted afresh, every frame is a first
  // at its view and samples the compressed pictures: the driver decodes them a level apart
  // from ours here and there, and now and then the sea picks the texel next door.
  const ViewShape view = ShapeViewFor({0, 0, 400, 300}), other = ShapeViewFor({0, 0, 200, 150});
  ApplyView(view);
  for (const double frameMs : {16.0, 35.0, 7.0}) {
    std::vector<std::vector<uint8_t>> copied, painted;
    for (auto* frames : {&copied, &painted}) {
      SeedRandom(5);
      ManagerDecor decor;
      ASSERT_TRUE(decor.IsValid());
      decor.Reshape({view});
      for (int frame = 0; frame < 24; ++frame) {
        if (frames == &painted) {
          ApplyView(other);
          decor.Reshape({other});
          ApplyView(view);
          decor.Reshape({view});
        }
        decor.Update(frameMs);
        decor.Draw(0);
        frames->push_back(context_.ReadPixels());
      }
    }
    for (size_t frame = 0; frame < copied.size(); ++frame) {
      int differing = 0;
      for (size_t c = 0; c < copied[frame].size(); ++c) {
        differing += c % 4 != 3 && std::abs(copied[frame][c] - painted[frame][c]) > 1;
      }
      EXPECT_LE(differing, static_cast<int>(copied[frame].size() / 10000))
          << "frame " << frame << " at " << frameMs << " ms";
    }
  }
  ApplyView(ShapeViewFor({0, 0, context_.Width(), context_.Height()}));
}

}  // namespace
}  // namespace driftglass

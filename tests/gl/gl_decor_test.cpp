// Shader programs, pictures and the decor on a real OpenGL context (Mesa on Xvfb).
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "decor/cliffs.h"
#include "decor/manager_decor.h"
#include "foundation/bitmap_reader.h"
#include "foundation/gl.h"
#include "foundation/jpeg_decoder.h"
#include "foundation/shader_program.h"
#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"
#include "gl_test.h"
#include "foundation/event_log.h"

namespace driftglass {
namespace {

// Test shader ids, compiled into this test program only.
constexpr int kFlatVertex = 990;
constexpr int kFlatFragment = 991;
constexpr int kBrokenFragment = 992;

class GlDecorTest : public gltest::GlTest {
 protected:
  // Makes the plane z = 0 region (left ... right, bottom ... top) fill the window.
  void LookAt(double left, double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  // RGB of the window pixel (x, y), y from the top, as 0 ... 255.
  std::array<int, 3> Pixel(const std::vector<uint8_t>& rgba, int x, int y) const {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * context_.Width() + x) * 4];
    return {p[0], p[1], p[2]};
  }
};

TEST_F(GlDecorTest, ProgramsCompileLinkAndReportFailures) {
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
  const std::string log = Log();
  EXPECT_NE(log.find("(!)Error : Shader source 9999 is missing"), std::string::npos) << log;
  EXPECT_NE(log.find("(!)Error : Compiling shader 992 failed: "), std::string::npos) << log;
  EXPECT_NE(log.find("undefinedThing"), std::string::npos) << log;  // the compiler's words
}

// A 64 x 32 picture whose top half is red and bottom half blue, as BMP and as JPEG bytes.
std::vector<unsigned char> UpDownJpeg() {
  std::vector<unsigned char> rgb(64 * 32 * 3);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      unsigned char* p = &rgb[(y * 64 + x) * 3];
      p[0] = y < 16 ? 230 : 10;
      p[1] = 10;
      p[2] = y < 16 ? 10 : 230;
    }
  }
  tjhandle encoder = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(encoder, rgb.data(), 64, 0, 32, TJPF_RGB, &jpeg, &size, TJSAMP_444, 95,
              TJFLAG_PROGRESSIVE);
  std::vector<unsigned char> bytes(jpeg, jpeg + size);
  tjFree(jpeg);
  tjDestroy(encoder);
  return bytes;
}

std::vector<unsigned char> UpDownBitmap() {
  std::vector<unsigned char> file = {'B', 'M'};
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) file.push_back((v >> (8 * i)) & 0xFF);
  };
  put(54 + 64 * 32 * 3, 4), put(0, 4), put(54, 4), put(40, 4), put(64, 4), put(32, 4);
  put(1, 2), put(24, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  for (int row = 0; row < 32; ++row) {  // stored bottom-up
    const bool top = 31 - row < 16;
    for (int x = 0; x < 64; ++x) put(top ? 0xE60A0Au : 0x0A0AE6u, 3);  // bytes B, G, R
  }
  return file;
}

TEST_F(GlDecorTest, PicturesStandUprightOnAQuadWithTZeroAtTheTop) {
  for (bool jpeg : {false, true}) {
    const std::vector<unsigned char> bytes = jpeg ? UpDownJpeg() : UpDownBitmap();
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(jpeg ? DecodeJpeg(bytes.data(), bytes.size(), w, h, pixels)
                     : DecodeBitmap(bytes.data(), bytes.size(), w, h, pixels));
    const GLuint texture = MakeTexture(pixels, w, h, GL_RGB16, GL_CLAMP, GL_NEAREST);
    LookAt(-1, 1, -1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    DrawTexturedQuad({-1, 1, -1, 1, 1.0});
    glDisable(GL_TEXTURE_2D);
    const auto rgba = context_.ReadPixels();
    const auto top = Pixel(rgba, 512, 40);
    const auto bottom = Pixel(rgba, 512, 470);
    EXPECT_GT(top[0], 200) << (jpeg ? "jpeg" : "bitmap");
    EXPECT_LT(top[2], 50) << (jpeg ? "jpeg" : "bitmap");
    EXPECT_GT(bottom[2], 200) << (jpeg ? "jpeg" : "bitmap");
    EXPECT_LT(bottom[0], 50) << (jpeg ? "jpeg" : "bitmap");
  }
}

TEST_F(GlDecorTest, EmbeddedPicturesLoadAtTheirSizesAndRefuseOthers) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  EXPECT_EQ(LoadJpegResource(pixels, kSeaPicture, w, h), 0);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 512);
  EXPECT_EQ(LoadBitmapResource(pixels, kBackdropPicture, 1024, 512), 0);
  EXPECT_EQ(LoadBitmapResource(pixels, kBannerPicture, 512, 128), 0);
  std::vector<uint32_t> untouched = {7};
  int uw = -1, uh = -1;
  EXPECT_EQ(LoadBitmapResource(untouched, kBackdropPicture, 512, 512), 1);  // wrong size
  EXPECT_EQ(LoadBitmapResource(untouched, 4242, 1024, 512), 1);             // missing
  EXPECT_EQ(LoadJpegResource(untouched, 4242, uw, uh), 1);
  EXPECT_EQ(untouched, std::vector<uint32_t>{7});
  EXPECT_EQ(uw, -1);
}

TEST_F(GlDecorTest, NearCliffAlphaIsItsMask) {
  std::vector<uint32_t> colour, mask;
  int w = 0, h = 0;
  ASSERT_EQ(LoadJpegResource(colour, kNearCliffPicture, w, h), 0);
  ASSERT_EQ(LoadJpegResource(mask, kNearCliffMaskPicture, w, h), 0);
  NearCliffDecorClass cliff;
  ASSERT_TRUE(cliff.IsValid());
  LookAt(-1, 1, -0.75, 0.2);  // the cliff's quad fills the 1024 x 512 window
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  cliff.Draw();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));  // the cliff leaves blending as it found it
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  const auto rgba = context_.ReadPixels();

  // Window pixel (x, y) samples texel column x and, between two rows, t = 0.99 (y + 0.5) / 512.
  auto channel = [](uint32_t pixel, int shift) { return ((pixel >> shift) & 0xFF) / 255.0; };
  int checked = 0;
  for (int y = 8; y < 500; y += 13) {
    for (int x = 5; x < 1020; x += 37) {
      const double v = 0.99 * (y + 0.5) - 0.5;
      const int row = static_cast<int>(v);
      const double f = v - row;
      auto texel = [&](const std::vector<uint32_t>& p, int shift) {
        return channel(p[row * 1024 + x], shift) * (1 - f) +
               channel(p[(row + 1) * 1024 + x], shift) * f;
      };
      const double alpha = texel(mask, 0);
      const auto seen = Pixel(rgba, x, y);
      const double expected[3] = {texel(colour, 16) * alpha + (1 - alpha), texel(colour, 8) * alpha,
                                  texel(colour, 0) * alpha};
      for (int c = 0; c < 3; ++c) {
        ASSERT_NEAR(seen[c] / 255.0, expected[c], 0.03) << x << "," << y << " channel " << c;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 500);
}

TEST_F(GlDecorTest, DecorBuildsAllThreeLayersAndLogsThemInOrder) {
  ManagerDecor decor;
  EXPECT_TRUE(decor.IsValid());
  EXPECT_EQ(Log(),
            "   Notify : Application has run\n"
            "   Notify : Initialization of FarCliffDecorClass\n"
            "   Notify : Bitmap is loaded\n"
            "   Notify : Initialization of WavingSeaDecorClass\n"
            "   Notify : Bitmap is loaded\n"
            "   Notify : Initialization of NearCliffDecorClass\n"
            "   Notify : Bitmap is loaded\n");
  decor.Update(120);
  decor.Draw();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_TRUE(depthWrites);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  decor.Release();
}

}  // namespace
}  // namespace driftglass

// The base of the GL tests: a real OpenGL context on the test's X display, in a window (1024
// x 512 unless a test asks for another) set up the way the saver sets up its own, with a view
// of the whole window, and a fresh event log per test, whose text the test can read.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "linux/glx_surface.h"

struct _XDisplay;  // Xlib's Display, whose header would break GoogleTest's

namespace gltest {

class GlContext {
 public:
  GlContext(int width, int height);
  ~GlContext();
  bool Valid() const { return valid_; }
  // The back buffer as RGBA rows, top row first.
  std::vector<uint8_t> ReadPixels() const;
  driftglass::GlxSurface& Surface() { return *surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;  // an X Window
  std::unique_ptr<driftglass::GlxSurface> surface_;
  int width_, height_;
  bool valid_ = false;
};

class GlTest : public ::testing::Test {
 protected:
  GlTest() : context_(1024, 512) {}
  GlTest(int width, int height) : context_(width, height) {}
  void SetUp() override;
  void TearDown() override;
  std::string Log() const;
  // Fails the test unless the state every part of the scene may rely on is as the saver set
  // it up: depth test and writes on, back faces culled, blending and texturing off, no
  // program bound, no error.
  static void ExpectTheSceneState(const char* after);
  // Clears the window to magenta, a colour the scene never has, and reads what `draw` left
  // on it; the clear colour is put back.
  std::vector<uint8_t> DrawnOverMagenta(const std::function<void()>& draw) const;
  static bool Magenta(const uint8_t* rgba) {
    return rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255;
  }
  // The textures, buffers, framebuffers, programs and shaders alive in the context.
  static int LiveGlNames();

  GlContext context_;
  std::filesystem::path logPath_;
};

}  // namespace gltest

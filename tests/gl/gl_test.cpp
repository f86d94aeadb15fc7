// The GL tests' window, context and fixture.
#include "gl_test.h"

#include <GL/glew.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstring>

#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "linux/x11_display.h"

namespace gltest {

GlContext::GlContext(int width, int height) : width_(width), height_(height) {
  display_ = driftglass::OpenDisplay();
  if (display_ == nullptr) return;
  int attributes[] = {
      GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
      8,        GLX_DEPTH_SIZE,   16,           None};
  XVisualInfo* visual = glXChooseVisual(display_, DefaultScreen(display_), attributes);
  if (visual == nullptr) return;
  XSetWindowAttributes windowAttributes{};
  windowAttributes.colormap =
      XCreateColormap(display_, DefaultRootWindow(display_), visual->visual, AllocNone);
  window_ =
      XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, width, height, 0, visual->depth,
                    InputOutput, visual->visual, CWColormap, &windowAttributes);
  const unsigned long visualId = visual->visualid;
  XFree(visual);
  XMapWindow(display_, window_);
  XSync(display_, False);
  surface_ = std::make_unique<driftglass::GlxSurface>(window_, visualId);
  valid_ = surface_->CreateContext() && surface_->LoadEntryPoints() && surface_->HasOpenGl20();
  if (valid_) surface_->SetupView();
}

GlContext::~GlContext() {
  surface_.reset();
  if (display_ == nullptr) return;
  if (window_ != 0) XDestroyWindow(display_, window_);
  driftglass::CloseDisplay(display_);
}

std::vector<uint8_t> GlContext::ReadPixels() const {
  std::vector<uint8_t> bottomUp(static_cast<size_t>(width_) * height_ * 4), rows(bottomUp.size());
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  const size_t row = static_cast<size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y) {
    std::memcpy(&rows[y * row], &bottomUp[(height_ - 1 - y) * row], row);
  }
  return rows;
}

void GlTest::SetUp() {
  ASSERT_TRUE(context_.Valid()) << "needs an X display with OpenGL 2.0";
  logPath_ =
      UniqueTempPath(::testing::UnitTest::GetInstance()->current_test_info()->name(), ".log");
  driftglass::TheEventLog().Open(logPath_);
}

void GlTest::TearDown() {
  driftglass::TheEventLog().Close();
}

std::string GlTest::Log() const {
  return ReadText(logPath_);
}

std::vector<uint8_t> GlTest::DrawnOverMagenta(const std::function<void()>& draw) const {
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glClearColor(1, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  draw();
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  return context_.ReadPixels();
}

int GlTest::LiveGlNames() {
  int count = 0;
  for (GLuint name = 1; name < 4096; ++name) {
    count += glIsTexture(name) + glIsBuffer(name) + glIsFramebuffer(name) + glIsProgram(name) +
             glIsShader(name);
  }
  return count;
}

void GlTest::ExpectTheSceneState(const char* after) {
  EXPECT_FALSE(glIsEnabled(GL_BLEND)) << after;
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << after;
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE)) << after;
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << after;
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_TRUE(depthWrites) << after;
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0) << after;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << after;
}

}  // namespace gltest

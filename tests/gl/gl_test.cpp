// The GL tests' fixture.
#include "gl_test.h"

#include <fstream>
#include <sstream>

#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "foundation/gl.h"

namespace gltest {

void GlTest::SetUp() {
  ASSERT_TRUE(context_.Valid()) << "needs an X display with OpenGL 2.0";
  logPath_ =
      UniqueTempPath(::testing::UnitTest::GetInstance()->current_test_info()->name(), ".log");
  driftglass::TheEventLog().Open(logPath_);
}

void GlTest::TearDown() {
  driftglass::TheEventLog().Close();
  std::filesystem::remove(logPath_);
}

std::string GlTest::Log() const {
  std::ifstream file(logPath_);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
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

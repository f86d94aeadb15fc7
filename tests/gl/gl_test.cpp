// The GL tests' fixture.
#include "gl_test.h"

#include <fstream>
#include <sstream>

#include "foundation/event_log.h"

namespace gltest {

void GlTest::SetUp() {
  ASSERT_TRUE(context_.Valid()) << "needs an X display with OpenGL 2.0";
  logPath_ =
      std::filesystem::path(::testing::TempDir()) /
      (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
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

}  // namespace gltest

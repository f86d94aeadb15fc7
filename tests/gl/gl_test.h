// The base of the GL tests: a 1024 x 512 context and a fresh event log per test, whose text
// the test can read.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gl_context.h"

namespace gltest {

class GlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Log() const;

  GlContext context_{1024, 512};
  std::filesystem::path logPath_;
};

}  // namespace gltest

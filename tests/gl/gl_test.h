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
  // Fails the test unless the state every part of the scene may rely on is as the saver set
  // it up: depth test and writes on, back faces culled, blending and texturing off, no
  // program bound, no error.
  static void ExpectTheSceneState(const char* after);

  GlContext context_{1024, 512};
  std::filesystem::path logPath_;
};

}  // namespace gltest

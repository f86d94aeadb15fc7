// A path under the test temp folder that no other test process shares: test programs may run
// side by side (a sanitizer build beside the plain one), and a log a running instance holds
// would send the next one to a numbered file of its own.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

inline std::filesystem::path UniqueTempPath(const std::string& stem, const std::string& extension) {
  static const auto started = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::filesystem::path(::testing::TempDir()) /
         (stem + "-" + std::to_string(started) + extension);
}

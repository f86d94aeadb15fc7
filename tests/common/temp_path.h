// A path in a folder of the test program's own under the test temp folder, which goes when
// the program ends: test programs may run side by side (a sanitizer build beside the plain
// one), and a log a running instance holds would send the next one to a numbered file of
// its own. What the tests leave there (logs and the .old copies reopening keeps, homes,
// recordings, pictures) goes with it, unless a test failed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

inline std::filesystem::path UniqueTempPath(const std::string& stem, const std::string& extension) {
  static const struct Folder {
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) /
        ("driftglass-tests-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    // GoogleTest's own state is made first, so that it is still there when this goes.
    Folder() {
      ::testing::UnitTest::GetInstance();
      std::filesystem::create_directories(path);
    }
    ~Folder() {
      std::error_code ignored;
      if (::testing::UnitTest::GetInstance()->Passed()) std::filesystem::remove_all(path, ignored);
    }
  } folder;
  return folder.path / (stem + extension);
}

// The whole of a file's text (a log, the options), empty when there is none.
inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The Linux program under test, started as a user or xscreensaver would start it, with a home
// of its own for the log and the options.
#pragma once

// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/names.h"
#include "process.h"

namespace e2e {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The fault shim under the sanitizers' runtime, which then must not insist on coming first.
inline const Environment kShim = {{"LD_PRELOAD", DRIFTGLASS_FAULT_SHIM},
                                  {"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}};

class LinuxSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x_.Valid()) << "the end-to-end tests need an X display";
    home_ = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    logPath_ = home_ + "/state" + names::kLinuxLog;
    configPath_ = home_ + "/config" + names::kLinuxOptions;
  }
  // No sound card here: OpenAL plays into nothing, unless a test records.
  std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                 const Environment& extra = {},
                                 const std::string& program = DRIFTGLASS_BINARY) {
    const Environment environment = {{"XDG_STATE_HOME", home_ + "/state"},
                                     {"XDG_CONFIG_HOME", home_ + "/config"},
                                     {"ALSOFT_DRIVERS", "null"}};
    return std::make_unique<Process>(program, arguments, With(environment, extra));
  }
  // Starts a saver and waits until its scene is ready.
  std::unique_ptr<Process> StartReady(const std::vector<std::string>& arguments,
                                      const Environment& extra = {}) {
    std::filesystem::remove(logPath_);
    auto saver = Start(arguments, extra);
    EXPECT_TRUE(WaitForLine(logPath_, names::kReady, 30s)) << saver->Stderr();
    return saver;
  }
  // Runs the saver in a window of its own to its end and reads the last frame it drew.
  Picture Snapshot(const std::vector<std::string>& arguments, const Environment& extra = {}) {
    const std::string png = home_ + "/frame.png";
    std::filesystem::remove(png);
    std::vector<std::string> all = {"-window", "--snapshot", png};
    all.insert(all.end(), arguments.begin(), arguments.end());
    auto saver = Start(all, extra);
    Picture frame;
    EXPECT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    EXPECT_TRUE(ReadPng(png, frame));
    return frame;
  }
  std::vector<std::string> Log() const { return ReadLines(logPath_); }
  // The log ends with the orderly shutdown.
  void ExpectUninstalled() const {
    const auto lines = Log();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], names::kUninstalled);
    EXPECT_THAT(lines.back(), StartsWith("   Notify : FPS = "));
  }
  std::string Config() const { return ReadFile(configPath_); }
  void WriteConfig(const std::string& text) const {
    std::filesystem::create_directories(std::filesystem::path(configPath_).parent_path());
    std::ofstream(configPath_, std::ios::binary) << text;
  }
  // Answers a message box with Return once it has the focus.
  void Answer(Window box) {
    x_.Focus(box);
    x_.Key(XK_Return);
  }

  X11Session x_;
  std::string home_, logPath_, configPath_;
};

}  // namespace e2e

// The Windows program under test, run under Wine on the test's X display as Windows would run
// it, with a dialog driver (win_driver.exe) to work its windows and the registry tool.
#pragma once

// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/names.h"
#include "process.h"

namespace e2e {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;

inline const std::string kBuild = DRIFTGLASS_WINDOWS_BUILD;
inline const std::string kKey = std::string("HKLM\\") + names::kOptionsKey;
// Window messages, in decimal as the dialog driver takes them.
inline const std::string kSysCommand = "274", kActivateApp = "28";
inline const std::string kScScreenSave = "61760", kScMonitorPower = "61808";

class WindowsSaverTest : public ::testing::Test {
 protected:
  // One Wine prefix serves every test ($WINEPREFIX when set); making it takes a few seconds.
  static void SetUpTestSuite() {
    const char* given = std::getenv("WINEPREFIX");
    prefix_ = given != nullptr && given[0] == '/' ? given : ::testing::TempDir() + "wine-prefix";
    if (!std::filesystem::exists(prefix_ + "/system.reg")) {
      Process("/usr/bin/wine", {"wineboot", "-i"}, Environment()).WaitForExit(180s);
    }
    // There is no sound card here: Wine's DirectSound plays into ALSA's null device, set up
    // in the .asoundrc of the home the tests give Wine.
    home_ = MakeTempFolder("wine-home");
    std::ofstream(home_ + "/.asoundrc") << "pcm.!default {\n  type null\n}\n";
    // Ends the Wine session running in the prefix, if any, and keeps the next one up for the
    // whole suite. Otherwise Wine would end its session (services, desktop) whenever no
    // program of the test runs, and start it again for the next short command: a program
    // started while the session comes or goes could wait a minute for it, or show nothing.
    for (const char* option : {"-k", "-w", "-p120"}) Wineserver(option);
  }
  static void TearDownTestSuite() { Wineserver("-k"); }
  static void Wineserver(const std::string& option) {
    Process("/usr/bin/wineserver", {option}, Environment()).WaitForExit(30s);
  }
  static e2e::Environment Environment() {
    return {{"WINEPREFIX", prefix_},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"HOME", home_}};
  }

  void SetUp() override {
    ASSERT_TRUE(x_.Valid()) << "the end-to-end tests need an X display";
    ASSERT_TRUE(std::filesystem::exists(kBuild + "/Driftglass.scr"))
        << "build the Windows program first (cmake --build --preset windows)";
    // Each test runs its own copy, so that its log (written beside it) is its own.
    folder_ = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::copy_file(kBuild + "/Driftglass.scr", folder_ + "/Driftglass.scr");
    logPath_ = folder_ + "/Driftglass.log";
  }
  std::unique_ptr<Process> Wine(const std::vector<std::string>& arguments,
                                const e2e::Environment& extra = {}) {
    return std::make_unique<Process>("/usr/bin/wine", arguments, With(Environment(), extra));
  }
  // Runs a short Windows command to its end: its exit status (nothing after a minute) and
  // what it printed. Wine now and then fails to start a process at all: a command that ends
  // in failure without a word is started once more, and the test's output says so.
  std::pair<std::optional<int>, std::string> RunWine(const std::vector<std::string>& arguments,
                                                     const e2e::Environment& extra = {}) {
    for (int attempt = 1;; ++attempt) {
      auto command = Wine(arguments, extra);
      const auto status = command->WaitForExit(60s);
      std::string said = command->Stdout();
      said.erase(std::remove(said.begin(), said.end(), '\r'), said.end());
      if (status == 0 || !said.empty() || !command->Stderr().empty() || attempt == 2) {
        return {status, said};
      }
      std::cerr << "Wine did not start " << arguments.front() << " (exit " << status.value_or(-1)
                << "); starting it once more\n";
    }
  }
  std::unique_ptr<Process> Saver(const std::vector<std::string>& arguments,
                                 const e2e::Environment& extra = {}) {
    std::vector<std::string> all = {folder_ + "/Driftglass.scr"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return Wine(all, extra);
  }
  std::unique_ptr<Process> StartReady(const std::vector<std::string>& arguments,
                                      const e2e::Environment& extra = {}) {
    std::filesystem::remove(logPath_);
    auto saver = Saver(arguments, extra);
    EXPECT_TRUE(WaitForLine(logPath_, names::kReady, 60s)) << saver->Stderr();
    return saver;
  }
  // Runs the dialog driver inside Wine; what it printed, or nothing when it failed.
  std::optional<std::string> Driver(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), kBuild + "/tests/win_driver.exe");
    const auto [status, said] = RunWine(arguments);
    return status == 0 ? std::optional<std::string>(said) : std::nullopt;
  }
  void Registry(std::vector<std::string> arguments, const e2e::Environment& extra = {}) {
    arguments.insert(arguments.begin(), "reg");
    RunWine(arguments, extra);
  }
  // What `reg query` prints of a value of `key`, or nothing when the key does not hold it.
  std::optional<std::string> RegistryValue(const std::string& name, const std::string& key = kKey) {
    std::vector<std::string> arguments = {"reg", "query", key};
    if (!name.empty()) arguments.insert(arguments.end(), {"/v", name});
    const auto [status, said] = RunWine(arguments);
    return status == 0 ? std::optional<std::string>(said) : std::nullopt;
  }
  // A window standing in for the display settings' preview pane, titled `title`; `handle`
  // gets its window handle as text, empty when it did not come up.
  std::unique_ptr<Process> HostPreviewPane(std::string& handle,
                                           const std::string& title = "Preview pane") {
    auto host = Wine({kBuild + "/tests/win_driver.exe", "host", title});
    WaitUntil([&] { return host->Stdout().find('\n') != std::string::npos; }, 60s);
    handle = host->Stdout();
    handle.erase(std::min(handle.size(), handle.find_first_of("\r\n")));
    return host;
  }

  static inline std::string prefix_, home_;
  X11Session x_;
  std::string folder_, logPath_;
};

}  // namespace e2e

// The Linux program under test, started as a user or xscreensaver would start it, with a home
// of its own for the log and the options.
#pragma once

// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "process.h"

namespace e2e {

using namespace std::chrono_literals;
using Environment = std::map<std::string, std::string>;

inline const char* const kReady = "   Notify : Scene has been initialized successfully";
inline const char* const kUninstalled = "   Notify : Common uninstall has finished properly";
inline const char* const kSettingsTitle = "Driftglass screensaver - Settings";
// The fault shim under the sanitizers' runtime, which then must not insist on coming first.
inline const Environment kShim = {{"LD_PRELOAD", DRIFTGLASS_FAULT_SHIM},
                                  {"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}};

inline std::string Hex(Window window) {
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", window);
  return hex;
}

// `base` with the entries of `more` added or replaced.
inline Environment With(Environment base, const Environment& more) {
  for (const auto& [name, value] : more) base[name] = value;
  return base;
}

class LinuxSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x_.Valid()) << "the end-to-end tests need an X display";
    home_ = e2e::MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    logPath_ = home_ + "/state/driftglass/driftglass.log";
    configPath_ = home_ + "/config/driftglass/driftglass.conf";
  }
  std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                 const Environment& extra = {},
                                 const std::string& program = DRIFTGLASS_BINARY) {
    // No sound card here: OpenAL plays into nothing, unless a test records.
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
    EXPECT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
    return saver;
  }
  std::vector<std::string> Log() const { return e2e::ReadLines(logPath_); }
  bool LogHas(const std::string& line) const {
    const auto lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // The log ends with the orderly shutdown.
  void ExpectUninstalled() const {
    const auto lines = Log();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
    EXPECT_EQ(lines.back().rfind("   Notify : FPS = ", 0), 0u);
  }
  std::string Config() const {
    std::ifstream file(configPath_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  void WriteConfig(const std::string& text) const {
    std::filesystem::create_directories(std::filesystem::path(configPath_).parent_path());
    std::ofstream(configPath_, std::ios::binary) << text;
  }
  void Answer(Window box) {
    x_.Focus(box);
    std::this_thread::sleep_for(300ms);
    x_.Key(XK_Return);
  }
  // The title bar's close button, as a window manager passes it on.
  void AskToClose(Window window) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(x_.Get(), "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(x_.Get(), "WM_DELETE_WINDOW", False));
    XSendEvent(x_.Get(), window, False, NoEventMask, &close);
    XFlush(x_.Get());
  }

  e2e::X11Session x_;
  std::string home_;
  std::string logPath_;
  std::string configPath_;
};

}  // namespace e2e

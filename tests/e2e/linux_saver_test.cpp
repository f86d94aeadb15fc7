// The Linux program run as a user (or xscreensaver) runs it, on the test's X display.
// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on
#include <png.h>
#include <signal.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/normal_run_log.h"
#include "process.h"

namespace {

using namespace std::chrono_literals;
using e2e::Process;

const char* const kReady = "   Notify : Scene has been initialized successfully";
const char* const kUninstalled = "   Notify : Common uninstall has finished properly";
const char* const kSettingsTitle = "Driftglass screensaver - Settings";

class LinuxSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x_.Valid()) << "the end-to-end tests need an X display";
    home_ = e2e::MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    logPath_ = home_ + "/state/driftglass/driftglass.log";
    configPath_ = home_ + "/config/driftglass/driftglass.conf";
  }
  std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                 std::map<std::string, std::string> extra = {}) {
    std::map<std::string, std::string> environment = {{"XDG_STATE_HOME", home_ + "/state"},
                                                      {"XDG_CONFIG_HOME", home_ + "/config"}};
    environment.insert(extra.begin(), extra.end());
    return std::make_unique<Process>(DRIFTGLASS_BINARY, arguments, environment);
  }
  std::vector<std::string> Log() const { return e2e::ReadLines(logPath_); }
  bool LogHas(const std::string& line) const {
    const auto lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::string Config() const {
    std::ifstream file(configPath_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  std::string WindowIdInHex(Window window) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", window);
    return hex;
  }

  e2e::X11Session x_;
  std::string home_;
  std::string logPath_;
  std::string configPath_;
};

TEST_F(LinuxSaverTest, NormalRunLogsItsLinesInOrder) {
  auto saver = Start({"-window", "--frames", "20", "--size", "320x240"});
  ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
  std::vector<std::string> expected = NormalRunLog();
  expected.push_back("   Notify : FPS = -1");  // no overlay, nothing measured
  EXPECT_EQ(Log(), expected);
}

TEST_F(LinuxSaverTest, FullScreenEndsOnAKeyPressAndAllowsOneInstance) {
  x_.MovePointerTo(200, 200);
  auto saver = Start({"/s"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 5s), 0u);

  // A second full-screen start leaves the first one running and exits 0.
  auto second = std::make_unique<Process>(
      DRIFTGLASS_BINARY, std::vector<std::string>{"-s"},
      std::map<std::string, std::string>{{"XDG_STATE_HOME", home_ + "/second"}});
  EXPECT_EQ(second->WaitForExit(20s), 0);
  EXPECT_TRUE(saver->Running());

  // Moving four pixels is not enough; a key press is.
  x_.MovePointerTo(202, 202);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver->Running());
  x_.Key(XK_space);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, FullScreenEndsWhenThePointerTravelsFivePixels) {
  x_.MovePointerTo(300, 300);
  auto saver = Start({"-s"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 5s), 0u);
  std::this_thread::sleep_for(300ms);
  x_.MovePointerTo(303, 301);  // 4 pixels
  x_.MovePointerTo(302, 302);  // 4 pixels
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(saver->Running());
  x_.MovePointerTo(303, 302);  // 5 pixels from where it started
  EXPECT_EQ(saver->WaitForExit(20s), 0);
}

TEST_F(LinuxSaverTest, PreviewIgnoresInputAndEndsWithItsParent) {
  const Window parent = x_.MakeWindow();
  auto saver = Start({"/p", std::to_string(parent)});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  x_.Key(XK_space);
  x_.MovePointerTo(50, 50);
  x_.MovePointerTo(150, 150);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver->Running());
  x_.Destroy(parent);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, XscreensaverSettingsPreviewAndSigterm) {
  // xscreensaver's settings preview passes both --root and --window-id in hex.
  const Window parent = x_.MakeWindow();
  auto saver = Start({"--root", "--window-id", WindowIdInHex(parent)});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  saver->Signal(SIGTERM);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  const auto lines = Log();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
  EXPECT_EQ(lines.back().rfind("   Notify : FPS = ", 0), 0u);
  x_.Destroy(parent);
}

TEST_F(LinuxSaverTest, RootModeDrawsIntoTheDaemonsWindow) {
  const Window window = x_.MakeWindow();
  auto saver = Start({"-root"}, {{"XSCREENSAVER_WINDOW", WindowIdInHex(window)}});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  x_.Destroy(window);  // the window going away ends the hack cleanly
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, OpenGlOneMachineShowsTheScreenSaverBox) {
  auto saver = Start({"-window", "--size", "320x240"}, {{"MESA_GL_VERSION_OVERRIDE", "1.4"}});
  const Window box = x_.WaitForWindowNamed("Screen saver", 20s);
  ASSERT_NE(box, 0u) << saver->Stderr();
  EXPECT_TRUE(LogHas("(!)Error : Can not initialize OpenGL 2.0"));
  EXPECT_NE(saver->Stderr().find("Sorry, this application requires OpenGL 2.0"), std::string::npos);
  EXPECT_TRUE(saver->Running());  // until the box is answered
  x_.Focus(box);
  std::this_thread::sleep_for(300ms);
  x_.Key(XK_Return);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  const auto lines = Log();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
}

TEST_F(LinuxSaverTest, SnapshotShowsTheFrameRateOverlayOnBlack) {
  const std::string png = home_ + "/frame.png";
  auto saver = Start({"-window", "-fps", "--size", "640x480", "--frames", "30", "--snapshot", png});
  ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str())) << png;
  image.format = PNG_FORMAT_GRAY;
  std::vector<uint8_t> gray(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, gray.data(), 0, nullptr));
  ASSERT_EQ(image.width, 640u);
  ASSERT_EQ(image.height, 480u);
  // White text inside the top-left tenth of the screen, black everywhere else.
  const int screenWidth = DisplayWidth(x_.Get(), DefaultScreen(x_.Get()));
  const int screenHeight = DisplayHeight(x_.Get(), DefaultScreen(x_.Get()));
  int whiteInside = 0, litOutside = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool inside = x < screenWidth / 10 && y < screenHeight / 10;
      const uint8_t value = gray[y * 640 + x];
      if (inside && value > 200) ++whiteInside;
      if (!inside && value > 10) ++litOutside;
    }
  }
  EXPECT_GT(whiteInside, 20);
  EXPECT_EQ(litOutside, 0);
}

TEST_F(LinuxSaverTest, SettingsDialogConfirmStoresTheUntickedVSync) {
  auto dialog = Start({"-c"});
  const Window window = x_.WaitForWindowNamed(kSettingsTitle, 20s);
  ASSERT_NE(window, 0u) << dialog->Stderr();
  x_.Focus(window);
  std::this_thread::sleep_for(500ms);
  // Focus starts on "Show FPS"; the tab order runs row by row: Show FPS, Confirm settings,
  // VSync control, Reset to default, and round again.
  x_.Key(XK_Tab);
  x_.Key(XK_Tab);
  x_.Key(XK_space);  // untick "VSync control"
  for (int i = 0; i < 3; ++i) x_.Key(XK_Tab);
  x_.Key(XK_space);  // "Confirm settings"
  EXPECT_EQ(dialog->WaitForExit(20s), 1) << dialog->Stderr();
  EXPECT_EQ(Config(),
            "[Software\\Tolvanet\\Driftglass #1 screensaver]\n"
            "EnableFPS=0\nEnableVSync=0\nSlideshowPictures=\n");
}

TEST_F(LinuxSaverTest, SettingsDialogCloseButtonSavesNothing) {
  auto dialog = Start({"--settings"});
  const Window window = x_.WaitForWindowNamed(kSettingsTitle, 20s);
  ASSERT_NE(window, 0u) << dialog->Stderr();
  x_.Focus(window);
  std::this_thread::sleep_for(500ms);
  x_.Key(XK_space);  // tick "Show FPS"
  std::this_thread::sleep_for(200ms);
  // What the title bar's close button sends.
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(x_.Get(), "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(x_.Get(), "WM_DELETE_WINDOW", False));
  XSendEvent(x_.Get(), window, False, NoEventMask, &close);
  XFlush(x_.Get());
  EXPECT_EQ(dialog->WaitForExit(20s), 1) << dialog->Stderr();
  EXPECT_EQ(Config(), "");
}

TEST_F(LinuxSaverTest, BadInputGetsAOneLineReason) {
  const std::vector<std::vector<std::string>> cases = {
      {"/x"}, {"--bogus"}, {"/p", "4294967296"}, {"/p", "0"}, {"-window-id", "0x7ffffff0"}};
  for (const auto& arguments : cases) {
    auto saver = Start(arguments);
    EXPECT_EQ(saver->WaitForExit(10s), 255) << arguments[0];
    const std::string text = saver->Stderr();
    EXPECT_EQ(text.rfind("driftglass: ", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  }
  auto noDisplay = Start({"-window"}, {{"DISPLAY", ""}});
  const auto code = noDisplay->WaitForExit(10s);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0);
  EXPECT_NE(noDisplay->Stderr().find("DISPLAY"), std::string::npos);
}

TEST_F(LinuxSaverTest, HelpAndVersion) {
  auto help = Start({"--help"});
  EXPECT_EQ(help->WaitForExit(10s), 0);
  EXPECT_NE(help->Stdout().find("Usage: driftglass"), std::string::npos);
  auto version = Start({"-version"});
  EXPECT_EQ(version->WaitForExit(10s), 0);
  EXPECT_EQ(version->Stdout(), "driftglass 1.0\n");
}

}  // namespace

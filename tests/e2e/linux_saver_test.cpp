// The Linux program run as a user (or xscreensaver) runs it, on the test's X display.
// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on
#include <png.h>
#include <signal.h>

#include <algorithm>
#include <thread>

#include "common/normal_run_log.h"
#include "process.h"

namespace {

using namespace std::chrono_literals;
using e2e::Process;

const char* const kReady = "   Notify : Scene has been initialized successfully";
const char* const kUninstalled = "   Notify : Common uninstall has finished properly";

class LinuxSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A busy Xvfb refuses a burst of connections for a moment.
    for (int attempt = 0; attempt < 40 && display_ == nullptr; ++attempt) {
      display_ = XOpenDisplay(nullptr);
      if (display_ == nullptr) std::this_thread::sleep_for(25ms);
    }
    ASSERT_NE(display_, nullptr) << "the end-to-end tests need an X display";
    home_ = e2e::MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    logPath_ = home_ + "/state/driftglass/driftglass.log";
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  std::map<std::string, std::string> Environment() const {
    return {{"XDG_STATE_HOME", home_ + "/state"}, {"XDG_CONFIG_HOME", home_ + "/config"}};
  }
  std::unique_ptr<Process> Start(const std::vector<std::string>& arguments,
                                 std::map<std::string, std::string> extra = {}) {
    auto environment = Environment();
    environment.insert(extra.begin(), extra.end());
    return std::make_unique<Process>(DRIFTGLASS_BINARY, arguments, environment);
  }
  std::vector<std::string> Log() const { return e2e::ReadLines(logPath_); }
  bool LogHas(const std::string& line) const {
    const auto lines = Log();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  void Key(KeySym key) {
    const KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, 0);
    XTestFakeKeyEvent(display_, code, False, 0);
    XFlush(display_);
  }
  void MovePointerTo(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, 0);
    XFlush(display_);
  }
  Window FindWindowNamed(Window window, const char* name) {
    char* found = nullptr;
    if (XFetchName(display_, window, &found) && found != nullptr) {
      const bool same = std::string(found) == name;
      XFree(found);
      if (same) return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
    Window result = 0;
    for (unsigned i = 0; i < count && result == 0; ++i) result = FindWindowNamed(children[i], name);
    if (children != nullptr) XFree(children);
    return result;
  }
  Window WaitForWindowNamed(const char* name, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      if (Window window = FindWindowNamed(DefaultRootWindow(display_), name)) return window;
      std::this_thread::sleep_for(100ms);
    }
    return 0;
  }
  Window MakeParentWindow() {
    Window window =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 10, 10, 320, 240, 0, 0, 0);
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  Display* display_ = nullptr;
  std::string home_;
  std::string logPath_;
};

TEST_F(LinuxSaverTest, NormalRunLogsItsLinesInOrder) {
  auto saver = Start({"-window", "--frames", "20", "--size", "320x240"});
  ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
  const std::vector<std::string> expectedStart = NormalRunLog();
  const auto lines = Log();
  ASSERT_EQ(lines.size(), expectedStart.size() + 1);
  EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), lines.begin()));
  EXPECT_EQ(lines.back(), "   Notify : FPS = -1");  // no overlay, nothing measured
}

TEST_F(LinuxSaverTest, FullScreenEndsOnAKeyPressAndAllowsOneInstance) {
  MovePointerTo(200, 200);
  auto saver = Start({"/s"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  ASSERT_NE(WaitForWindowNamed("Screen Saver", 5s), 0u);

  // A second full-screen start leaves the first one running and exits 0.
  auto second = std::make_unique<Process>(
      DRIFTGLASS_BINARY, std::vector<std::string>{"-s"},
      std::map<std::string, std::string>{{"XDG_STATE_HOME", home_ + "/second"}});
  EXPECT_EQ(second->WaitForExit(20s), 0);
  EXPECT_TRUE(saver->Running());

  // Moving four pixels is not enough; a key press is.
  MovePointerTo(202, 202);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver->Running());
  Key(XK_space);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, FullScreenEndsWhenThePointerTravelsFivePixels) {
  MovePointerTo(300, 300);
  auto saver = Start({"-s"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  ASSERT_NE(WaitForWindowNamed("Screen Saver", 5s), 0u);
  std::this_thread::sleep_for(300ms);
  MovePointerTo(303, 301);  // 4 pixels
  MovePointerTo(302, 302);  // 4 pixels
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(saver->Running());
  MovePointerTo(303, 302);  // 5 pixels from where it started
  EXPECT_EQ(saver->WaitForExit(20s), 0);
}

TEST_F(LinuxSaverTest, PreviewIgnoresInputAndEndsWithItsParent) {
  const Window parent = MakeParentWindow();
  auto saver = Start({"/p", std::to_string(parent)});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  Key(XK_space);
  MovePointerTo(50, 50);
  MovePointerTo(150, 150);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver->Running());
  XDestroyWindow(display_, parent);
  XSync(display_, False);
  EXPECT_EQ(saver->WaitForExit(20s), 0) << saver->Stderr();
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, XscreensaverSettingsPreviewAndSigterm) {
  // xscreensaver's settings preview passes both --root and --window-id in hex.
  const Window parent = MakeParentWindow();
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", parent);
  auto saver = Start({"--root", "--window-id", hex});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  saver->Signal(SIGTERM);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  const auto lines = Log();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
  EXPECT_EQ(lines.back().rfind("   Notify : FPS = ", 0), 0u);
  XDestroyWindow(display_, parent);
}

TEST_F(LinuxSaverTest, RootModeDrawsIntoTheDaemonsWindow) {
  const Window window = MakeParentWindow();
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", window);
  auto saver = Start({"-root"}, {{"XSCREENSAVER_WINDOW", hex}});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  // The daemon destroys its window when the user comes back.
  XDestroyWindow(display_, window);
  XSync(display_, False);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, OpenGlOneMachineShowsTheScreenSaverBox) {
  auto saver = Start({"-window", "--size", "320x240"}, {{"MESA_GL_VERSION_OVERRIDE", "1.4"}});
  const Window box = WaitForWindowNamed("Screen saver", 20s);
  ASSERT_NE(box, 0u) << saver->Stderr();
  EXPECT_TRUE(LogHas("(!)Error : Can not initialize OpenGL 2.0"));
  EXPECT_NE(saver->Stderr().find("Sorry, this application requires OpenGL 2.0"), std::string::npos);
  EXPECT_TRUE(saver->Running());  // until the box is answered
  XSetInputFocus(display_, box, RevertToParent, CurrentTime);
  XSync(display_, False);
  std::this_thread::sleep_for(300ms);
  Key(XK_Return);
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
  int screenWidth = DisplayWidth(display_, DefaultScreen(display_));
  int screenHeight = DisplayHeight(display_, DefaultScreen(display_));
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
  auto version = Start({"-version"});
  EXPECT_EQ(version->WaitForExit(10s), 0);
}

}  // namespace

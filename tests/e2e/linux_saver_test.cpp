// The Linux program run as a user (or xscreensaver) runs it, on the test's X display.
// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <thread>

#include <filesystem>

#include "common/normal_run_log.h"
#include "flowers/flower_instance.h"
#include "picture_checks.h"
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
  // Starts the settings dialog with `option` and gives it the keyboard; 0 when it never showed.
  Window OpenSettingsDialog(const char* option, std::unique_ptr<Process>& dialog) {
    dialog = Start({option});
    const Window window = x_.WaitForWindowNamed(kSettingsTitle, 20s);
    if (window == 0) return 0;
    x_.Focus(window);
    std::this_thread::sleep_for(500ms);
    return window;
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
  std::vector<std::string> expected = NormalRunLog(SaverSceneLog());
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
  for (const char* mode : {"-window", "-s"}) {
    auto saver = Start({mode, "--size", "320x240"}, {{"MESA_GL_VERSION_OVERRIDE", "1.4"}});
    const Window box = x_.WaitForWindowNamed("Screen saver", 20s);
    ASSERT_NE(box, 0u) << saver->Stderr();
    EXPECT_TRUE(LogHas("(!)Error : Can not initialize OpenGL 2.0")) << mode;
    EXPECT_NE(saver->Stderr().find("Sorry, this application requires OpenGL 2.0"),
              std::string::npos);
    EXPECT_TRUE(saver->Running()) << mode;  // until the box is answered
    // Nothing of the saver hides the box, not even a full-screen window.
    if (const Window fullScreen = x_.FindWindowNamed("Screen Saver")) {
      XWindowAttributes attributes;
      XGetWindowAttributes(x_.Get(), fullScreen, &attributes);
      EXPECT_NE(attributes.map_state, IsViewable);
    }
    x_.Focus(box);
    std::this_thread::sleep_for(300ms);
    x_.Key(XK_Return);
    EXPECT_EQ(saver->WaitForExit(20s), 1) << mode;  // a failed start, whatever the mode
    const auto lines = Log();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
  }
}

TEST_F(LinuxSaverTest, FramesShowSkySeaShoreAndTheBannerOnSchedule) {
  // The same seed and a fixed 50 ms step: 60 frames are 3 s, 200 are 10 s, 420 are 21 s.
  std::map<int, e2e::SeascapeRegions> at;
  for (int frames : {60, 200, 420}) {
    const std::string png = home_ + "/frame" + std::to_string(frames) + ".png";
    auto saver = Start({"-window", "--size", "1024x768", "--seed", "5", "--fixed-step", "50",
                        "--frames", std::to_string(frames), "--snapshot", png});
    ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    e2e::Picture frame;
    ASSERT_TRUE(e2e::ReadPng(png, frame));
    at[frames] = e2e::MeasureSeascape(frame);
  }
  for (const auto& [frames, regions] : at) {
    // A dark blue night sky, darker blue water, a grey-black shore below.
    EXPECT_GT(regions.sky.b, regions.sky.r + 0.04) << frames;
    EXPECT_LT(regions.sky.Luminance(), 0.2) << frames;
    EXPECT_GT(regions.sea.b, regions.sea.r + 0.04) << frames;
    EXPECT_GT(regions.sea.Luminance(), 0.03) << frames;
    EXPECT_LT(regions.shore.Luminance(), regions.sea.Luminance()) << frames;
    EXPECT_LT(std::abs(regions.shore.b - regions.shore.r), 0.04) << frames;
  }
  // The banner shines in the upper right at 10 s, and the corner is bare sky at 3 and 21 s.
  EXPECT_GT(at[200].banner.Luminance(), at[60].banner.Luminance() + 0.1);
  EXPECT_NEAR(at[420].banner.Luminance(), at[60].banner.Luminance(), 0.005);
}

// Where the camera (eye at z = 4, 21 degree field of view, 4:3) shows a scene point, in
// pixels of a width x height frame.
std::pair<int, int> OnScreen(const driftglass::Vector3& p, int width, int height) {
  const double halfHeight = (4.0 - p.z) * std::tan(10.5 * 3.14159265358979 / 180.0);
  const double x = p.x / (halfHeight * 1.3333333), y = p.y / halfHeight;
  return {static_cast<int>((x + 1) / 2 * width), static_cast<int>((1 - y) / 2 * height)};
}

// Counts the pixels of a box around `centre` (half size `reach`) that pass `test`.
template <typename Test>
int CountAround(const e2e::Picture& frame, std::pair<int, int> centre, int reach, Test test) {
  int count = 0;
  for (int y = std::max(0, centre.second - reach);
       y < std::min(frame.height, centre.second + reach); ++y) {
    for (int x = std::max(0, centre.first - reach); x < std::min(frame.width, centre.first + reach);
         ++x) {
      const uint8_t* p = &frame.rgba[(static_cast<size_t>(y) * frame.width + x) * 4];
      if (test(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0)) ++count;
    }
  }
  return count;
}

TEST_F(LinuxSaverTest, FlowersStandOnTheirRootsWithLightBandsAndTranslucentHeads) {
  // Frame 24 updates the flowers with 1150 ms into the second flower's 2123 ms period: its
  // light is in the middle of the stalk. At frame 10 (450 ms) no light is on either stalk.
  std::map<int, e2e::Picture> frames;
  for (int count : {10, 24}) {
    const std::string png = home_ + "/flowers" + std::to_string(count) + ".png";
    auto saver = Start({"-window", "--size", "1024x768", "--seed", "5", "--fixed-step", "50",
                        "--frames", std::to_string(count), "--snapshot", png});
    ASSERT_EQ(saver->WaitForExit(60s), 0) << saver->Stderr();
    ASSERT_TRUE(e2e::ReadPng(png, frames[count]));
  }
  using driftglass::FlowerInstance;
  const FlowerInstance flowers[2] = {FlowerInstance::First(), FlowerInstance::Second()};
  auto green = [](double r, double g, double b) { return g > r + 0.25 && g > b + 0.25; };
  auto yellow = [](double r, double g, double b) { return r > 0.5 && g > 0.4 && b < 0.25; };
  auto blueGlass = [](double r, double g, double b) {
    return b > r + 0.15 && b > g + 0.15 && b > 0.2 && b < 0.85;  // blue, but not opaque
  };
  for (const FlowerInstance& flower : flowers) {
    driftglass::Ribbon ribbon;
    driftglass::BuildStalkNodes(ribbon, flower.root, flower.direction, flower.restBend,
                                flower.length);
    const auto middle = OnScreen(ribbon.GetNodes()[10].basePoint, 1024, 768);
    const auto head = OnScreen(driftglass::StalkTip(ribbon, flower.length), 1024, 768);
    for (auto& [count, frame] : frames) {
      EXPECT_GT(CountAround(frame, OnScreen(flower.root, 1024, 768), 12, green), 15) << count;
      EXPECT_GT(CountAround(frame, head, 40, blueGlass), 20) << count;
    }
    const bool second = flower.period == 2123.0;
    EXPECT_EQ(CountAround(frames[10], middle, 20, yellow), 0);
    if (second) {
      EXPECT_GT(CountAround(frames[24], middle, 20, yellow), 3);
    } else {
      EXPECT_EQ(CountAround(frames[24], middle, 20, yellow), 0);
    }
  }
}

TEST_F(LinuxSaverTest, FrameRateOverlayDrawsOnlyInTheTopLeftTenth) {
  e2e::Picture with, without;
  for (bool fps : {true, false}) {
    const std::string png = home_ + (fps ? "/with.png" : "/without.png");
    std::vector<std::string> arguments = {"-window", "--size",       "640x480", "--seed",
                                          "1",       "--fixed-step", "20",      "--frames",
                                          "30",      "--snapshot",   png};
    if (fps) arguments.push_back("-fps");
    auto saver = Start(arguments);
    ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
    ASSERT_TRUE(e2e::ReadPng(png, fps ? with : without));
  }
  const int screenWidth = DisplayWidth(x_.Get(), DefaultScreen(x_.Get()));
  const int screenHeight = DisplayHeight(x_.Get(), DefaultScreen(x_.Get()));
  int whiteInside = 0, changedOutside = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const size_t i = (static_cast<size_t>(y) * 640 + x) * 4;
      const bool inside = x < screenWidth / 10 && y < screenHeight / 10;
      const bool white = with.rgba[i] > 200 && with.rgba[i + 1] > 200 && with.rgba[i + 2] > 200;
      const bool same = with.rgba[i] == without.rgba[i] && with.rgba[i + 2] == without.rgba[i + 2];
      if (inside && white) ++whiteInside;
      if (!inside && !same) ++changedOutside;
    }
  }
  EXPECT_GT(whiteInside, 20);
  EXPECT_EQ(changedOutside, 0);
}

TEST_F(LinuxSaverTest, DamagedPicturesStopStartUpWithTheScreenSaverBox) {
  auto saver = std::make_unique<Process>(
      DRIFTGLASS_BROKEN_BINARY, std::vector<std::string>{"-window", "--size", "320x240"},
      std::map<std::string, std::string>{{"XDG_STATE_HOME", home_ + "/state"}});
  const Window box = x_.WaitForWindowNamed("Screen saver", 30s);
  ASSERT_NE(box, 0u) << saver->Stderr();
  EXPECT_NE(saver->Stderr().find("driftglass: Error of initialization"), std::string::npos);
  const auto lines = Log();
  const std::vector<std::string> tail = {
      "   Notify : Initialization of WavingSeaDecorClass",  // the truncated sea: no texture
      "   Notify : Initialization of NearCliffDecorClass",  // the missing mask
      "(!)Error : ManagerDecor initialization is failed",
      "   Notify : Error of common initialization",
  };
  auto found = std::search(lines.begin(), lines.end(), tail.begin(), tail.end());
  EXPECT_NE(found, lines.end());
  x_.Focus(box);
  std::this_thread::sleep_for(300ms);
  x_.Key(XK_Return);
  EXPECT_EQ(saver->WaitForExit(20s), 1);
  EXPECT_TRUE(LogHas(kUninstalled));
}

TEST_F(LinuxSaverTest, SettingsDialogConfirmStoresTheUntickedVSync) {
  std::unique_ptr<Process> dialog;
  ASSERT_NE(OpenSettingsDialog("-c", dialog), 0u) << dialog->Stderr();
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
  std::unique_ptr<Process> dialog;
  const Window window = OpenSettingsDialog("--settings", dialog);
  ASSERT_NE(window, 0u) << dialog->Stderr();
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
  // Unknown words are refused, not read by their first letter as a mode ("-sound" is not
  // "-s", "-colors" not "-c"); a window that does not exist is refused too.
  const std::vector<std::vector<std::string>> cases = {
      {"/x"},     {"--bogus"}, {"/p", "4294967296"}, {"/p", "0"}, {"-window-id", "0x7ffffff0"},
      {"-sound"}, {"-colors"}, {"-seeds", "5"},      {""},        {"/"}};
  for (const auto& arguments : cases) {
    auto saver = Start(arguments);
    EXPECT_EQ(saver->WaitForExit(10s), 255) << "'" << arguments[0] << "'";
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

TEST_F(LinuxSaverTest, SigtermEndsEveryStateWithinASecond) {
  // The failure box of a saver started by hand, in a window and full screen.
  for (const char* mode : {"-window", "-s"}) {
    auto saver = Start({mode, "--size", "320x240"}, {{"MESA_GL_VERSION_OVERRIDE", "1.4"}});
    ASSERT_NE(x_.WaitForWindowNamed("Screen saver", 20s), 0u) << saver->Stderr();
    saver->Signal(SIGTERM);
    EXPECT_EQ(saver->WaitForExit(1s), 1) << mode;
    EXPECT_EQ(x_.FindWindowNamed("Screen saver"), 0u) << mode;
  }
  // The settings dialog: it closes and saves nothing.
  std::unique_ptr<Process> dialog;
  ASSERT_NE(OpenSettingsDialog("-c", dialog), 0u) << dialog->Stderr();
  x_.Key(XK_space);  // tick "Show FPS"
  std::this_thread::sleep_for(200ms);
  dialog->Signal(SIGTERM);
  EXPECT_TRUE(dialog->WaitForExit(1s).has_value());
  EXPECT_FALSE(std::filesystem::exists(configPath_));
  // Start-up, before the scene is ready: the orderly shutdown, without a frame drawn.
  std::filesystem::remove(logPath_);
  auto starting = Start({"-window", "--size", "320x240"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, "   Notify : Application has run", 10s));
  starting->Signal(SIGINT);
  EXPECT_EQ(starting->WaitForExit(3s), 0) << starting->Stderr();
  const auto lines = Log();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
  EXPECT_EQ(lines.back(), "   Notify : FPS = -1");
}

TEST_F(LinuxSaverTest, UnderTheDaemonAFailedStartTellsStderrAndShowsNoBox) {
  const Window window = x_.MakeWindow();
  const std::vector<std::pair<std::vector<std::string>, std::map<std::string, std::string>>>
      starts = {{{"-root"}, {{"XSCREENSAVER_WINDOW", WindowIdInHex(window)}}},
                {{"--root", "--window-id", WindowIdInHex(window)}, {}},
                {{"/p", std::to_string(window)}, {}}};
  for (auto [arguments, environment] : starts) {
    environment["MESA_GL_VERSION_OVERRIDE"] = "1.4";
    auto saver = Start(arguments, environment);
    // Nobody could answer a box above the daemon's window: the process ends at once.
    EXPECT_EQ(saver->WaitForExit(20s), 1) << arguments[0];
    EXPECT_EQ(saver->Stderr(), "driftglass: Sorry, this application requires OpenGL 2.0\n");
    EXPECT_TRUE(LogHas("(!)Error : Can not initialize OpenGL 2.0"));
    EXPECT_EQ(Log().back(), "   Notify : FPS = -1");
  }
  x_.Destroy(window);
}

TEST_F(LinuxSaverTest, AContextThatCannotBeMadeCurrentIsDeletedWithoutACrash) {
  auto saver = Start({"-window", "--size", "320x240"},
                     {{"LD_PRELOAD", DRIFTGLASS_FAULT_SHIM},
                      {"DRIFTGLASS_FAULT_MAKE_CURRENT", "1"},
                      {"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}});
  const Window box = x_.WaitForWindowNamed("Screen saver", 20s);
  ASSERT_NE(box, 0u) << saver->Stderr();
  x_.Focus(box);
  std::this_thread::sleep_for(300ms);
  x_.Key(XK_Return);
  EXPECT_EQ(saver->WaitForExit(20s), 1) << saver->Stderr();  // not a crash (139)
  const auto lines = Log();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], kUninstalled);
}

TEST_F(LinuxSaverTest, APreviewParentIsReadOnceSoItCannotVanishBetweenTwoReads) {
  // The parent's attributes can be had once only, as when it goes right after the check.
  const Window parent = x_.MakeWindow();
  auto saver = Start({"-window-id", std::to_string(parent)},
                     {{"LD_PRELOAD", DRIFTGLASS_FAULT_SHIM},
                      {"DRIFTGLASS_FAULT_ATTRIBUTES_OF", std::to_string(parent)},
                      {"ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0"}});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  const Window preview = x_.WaitForWindowNamed("Preview", 5s);
  ASSERT_NE(preview, 0u);
  XWindowAttributes attributes;
  ASSERT_NE(XGetWindowAttributes(x_.Get(), preview, &attributes), 0);
  EXPECT_EQ(attributes.width, 320);
  EXPECT_EQ(attributes.height, 240);
  x_.Destroy(parent);
  EXPECT_EQ(saver->WaitForExit(20s), 0);
}

// Sends `window` a client message whose first word is 0, as any client may.
void SendStrangersMessage(Display* display, Window window) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display, "_SOMEONE_ELSES_MESSAGE", False);
  message.xclient.format = 32;
  XSendEvent(display, window, False, NoEventMask, &message);
  XFlush(display);
}

TEST_F(LinuxSaverTest, OtherClientsMessagesCloseNoSaver) {
  x_.MovePointerTo(400, 300);
  const Window host = x_.MakeWindow();
  const std::vector<std::pair<std::vector<std::string>, const char*>> starts = {
      {{"-s"}, "Screen Saver"}, {{"-window-id", std::to_string(host)}, "Preview"}};
  for (const auto& [arguments, name] : starts) {
    auto saver = Start(arguments);
    ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
    const Window window = x_.WaitForWindowNamed(name, 5s);
    ASSERT_NE(window, 0u) << name;
    SendStrangersMessage(x_.Get(), window);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(saver->Running()) << name;
    saver->Signal(SIGTERM);
    EXPECT_EQ(saver->WaitForExit(10s), 0) << name;
  }
  auto root = Start({"-root"}, {{"XSCREENSAVER_WINDOW", WindowIdInHex(host)}});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << root->Stderr();
  SendStrangersMessage(x_.Get(), host);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(root->Running());
  root->Signal(SIGTERM);
  EXPECT_EQ(root->WaitForExit(10s), 0);
  x_.Destroy(host);
}

TEST_F(LinuxSaverTest, WithoutASignalPipeTheSaverDoesNotStart) {
  // Room for one more descriptor only: the libraries load, but no pipe can be made.
  auto saver = std::make_unique<Process>(
      "/usr/bin/prlimit",
      std::vector<std::string>{"--nofile=4", DRIFTGLASS_BINARY, "-window"},
      std::map<std::string, std::string>{{"XDG_STATE_HOME", home_ + "/state"}});
  EXPECT_EQ(saver->WaitForExit(10s), 1);
  EXPECT_NE(saver->Stderr().find("driftglass: cannot make the pipe that answers SIGTERM"),
            std::string::npos)
      << saver->Stderr();
}

// The log file an instance has open, opened again through /proc: it stays readable after the
// instance has ended, wherever its name points by then.
std::ifstream OpenLogOf(pid_t pid) {
  const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
  for (const auto& entry : std::filesystem::directory_iterator(fds)) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (target.find("driftglass.log") != std::string::npos) {
      return std::ifstream(entry.path(), std::ios::binary);
    }
  }
  return {};
}

TEST_F(LinuxSaverTest, ASecondInstanceNeverCorruptsTheRunningOnesLog) {
  // xscreensaver's -cycle starts the next hack before the last one has gone; here the next
  // one fails at once, leaving a short log where the running one's was.
  auto first = Start({"-window", "--size", "320x240"});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << first->Stderr();
  auto second = Start({"-root"}, {{"XSCREENSAVER_WINDOW", "0x3fffffff"}});
  ASSERT_EQ(second->WaitForExit(30s), 1) << second->Stderr();
  const std::vector<std::string> secondLog = {
      "   Notify : Application has run", "(!)Error : there is no window 1073741823 to draw in"};
  EXPECT_EQ(Log(), secondLog);

  // The running instance still writes its own whole log, from its first line to its last.
  std::ifstream firstFile = OpenLogOf(first->Pid());
  first->Signal(SIGTERM);
  EXPECT_EQ(first->WaitForExit(10s), 0);
  const std::string firstLog(std::istreambuf_iterator<char>(firstFile), {});
  EXPECT_EQ(firstLog.find('\0'), std::string::npos);
  EXPECT_EQ(firstLog.rfind("   Notify : Application has run\n   Notify : Run looping thread\n", 0),
            0u);
  EXPECT_NE(firstLog.find(kUninstalled), std::string::npos);
  // ... and none of it lands in the file that now has the name.
  EXPECT_EQ(Log(), secondLog);
}

TEST_F(LinuxSaverTest, APreviewFollowsItsParentsSize) {
  const Window parent = x_.MakeWindow();  // 320 x 240 at (10, 10)
  auto saver = Start({"--root", "--window-id", WindowIdInHex(parent)});
  ASSERT_TRUE(e2e::WaitForLine(logPath_, kReady, 20s)) << saver->Stderr();
  XResizeWindow(x_.Get(), parent, 640, 480);
  XSync(x_.Get(), False);
  std::this_thread::sleep_for(1500ms);
  const Window preview = x_.FindWindowNamed("Preview");
  XWindowAttributes attributes;
  ASSERT_NE(XGetWindowAttributes(x_.Get(), preview, &attributes), 0);
  EXPECT_EQ(attributes.width, 640);
  EXPECT_EQ(attributes.height, 480);
  // The scene fills the larger window: its far corner shows night sky, not a black bar.
  const e2e::Picture screen = x_.CaptureScreen();
  double red = 0, blue = 0;
  int count = 0;
  for (int y = 30; y < 110; ++y) {
    for (int x = 450; x < 630; ++x, ++count) {
      const uint8_t* p = &screen.rgba[(static_cast<size_t>(y) * screen.width + x) * 4];
      red += p[0];
      blue += p[2];
    }
  }
  EXPECT_GT(blue / count, red / count + 10);
  EXPECT_GT(blue / count, 20);
  saver->Signal(SIGTERM);
  EXPECT_EQ(saver->WaitForExit(10s), 0);
  x_.Destroy(parent);
}

}  // namespace

// The Windows screen saver, run under Wine on the test's X display as Windows would run it.
// GoogleTest comes first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include "x11_session.h"
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "common/normal_run_log.h"
#include "damaged_copy.h"
#include "host/linux/png_snapshot.h"
#include "picture_checks.h"
#include "process.h"
#include "sound_checks.h"

namespace {

using namespace std::chrono_literals;
using e2e::Process;

const std::string kBuild = DRIFTGLASS_WINDOWS_BUILD;
const char* const kReady = "   Notify : Scene has been initialized successfully";
const char* const kSettingsTitle = "Driftglass screensaver - Settings";
const char* const kKey = "HKLM\\Software\\Tolvanet\\Driftglass #1 screensaver";
// Window messages, in decimal as the dialog driver takes them.
const std::string kSysCommand = "274", kActivateApp = "28";
const std::string kScScreenSave = "61760", kScMonitorPower = "61808";

class WindowsSaverTest : public ::testing::Test {
 protected:
  // One Wine prefix serves every test ($WINEPREFIX when set); making it takes a few seconds.
  static void SetUpTestSuite() {
    const char* given = std::getenv("WINEPREFIX");
    prefix_ = given != nullptr && given[0] == '/' ? given
                                                  : ::testing::TempDir() + "driftglass-wine-prefix";
    if (!std::filesystem::exists(prefix_ + "/system.reg")) {
      Process("/usr/bin/wine", {"wineboot", "-i"}, Environment()).WaitForExit(180s);
    }
    // There is no sound card here: Wine's DirectSound plays into ALSA's null device, set up
    // in the .asoundrc of the home the tests give Wine.
    home_ = e2e::MakeTempFolder("wine-home");
    std::ofstream(home_ + "/.asoundrc") << "pcm.!default {\n  type null\n}\n";
  }
  static std::map<std::string, std::string> Environment() {
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
    folder_ = e2e::MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::copy_file(kBuild + "/Driftglass.scr", folder_ + "/Driftglass.scr");
    logPath_ = folder_ + "/Driftglass.log";
  }
  std::unique_ptr<Process> Wine(const std::vector<std::string>& arguments,
                                const std::map<std::string, std::string>& extra = {}) {
    auto environment = Environment();
    for (const auto& [name, value] : extra) environment[name] = value;
    return std::make_unique<Process>("/usr/bin/wine", arguments, environment);
  }
  std::unique_ptr<Process> Saver(const std::vector<std::string>& arguments,
                                 std::map<std::string, std::string> extra = {}) {
    std::vector<std::string> all = {folder_ + "/Driftglass.scr"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return Wine(all, extra);
  }
  std::unique_ptr<Process> StartReady(const std::vector<std::string>& arguments,
                                      const std::map<std::string, std::string>& extra = {}) {
    std::filesystem::remove(logPath_);
    auto saver = Saver(arguments, extra);
    EXPECT_TRUE(e2e::WaitForLine(logPath_, kReady, 60s)) << saver->Stderr();
    return saver;
  }
  // Runs the dialog driver inside Wine; returns what it printed, or nothing when it failed.
  std::optional<std::string> Driver(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {kBuild + "/tests/win_driver.exe"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    auto driver = Wine(all);
    if (driver->WaitForExit(60s) != 0) return std::nullopt;
    std::string text = driver->Stdout();
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
  }
  // The value as `reg query` prints it, or nothing when the key does not hold it. Wine now and
  // then fails to start a process at all: a query that fails for another reason than a missing
  // value is asked once more, and what it printed goes to the test's output.
  std::optional<std::string> RegistryValue(const char* name) {
    for (int attempt = 1;; ++attempt) {
      auto query = Wine({"reg", "query", kKey, "/v", name});
      const std::optional<int> status = query->WaitForExit(60s);
      if (status == 0) return query->Stdout();
      const std::string said = query->Stdout() + query->Stderr();
      if (said.find("Unable to find") != std::string::npos || attempt == 2) return std::nullopt;
      std::cerr << "reg query " << name << " failed (exit " << status.value_or(-1)
                << "), asking again: " << said << "\n";
    }
  }
  // A window standing in for the display settings' preview pane, titled "Preview pane";
  // `handle` gets its window handle as text, empty when it did not come up.
  std::unique_ptr<Process> HostPreviewPane(std::string& handle) {
    auto host = Wine({kBuild + "/tests/win_driver.exe", "host", "Preview pane"});
    handle.clear();
    for (int i = 0; i < 600 && handle.empty(); ++i) {
      std::this_thread::sleep_for(100ms);
      handle = host->Stdout();
    }
    if (!handle.empty()) handle.erase(handle.find_last_not_of("\r\n") + 1);
    return host;
  }
  void Registry(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "reg");
    Wine(arguments)->WaitForExit(60s);
  }

  static std::string prefix_, home_;
  e2e::X11Session x_;
  std::string folder_;
  std::string logPath_;
};

std::string WindowsSaverTest::prefix_, WindowsSaverTest::home_;

TEST_F(WindowsSaverTest, PropertiesShowTheProductItsVersionCopyrightAndIcon) {
  const auto version = Driver({"version", folder_ + "/Driftglass.scr"});
  ASSERT_TRUE(version.has_value()) << "no version resource";
  EXPECT_EQ(*version, "Driftglass #1\n1.0\nCopyright \xA9 2026 Tolvanet\n");
  // The icon at every size Explorer, the taskbar and the settings ask for, in full colour.
  EXPECT_EQ(Driver({"icons", folder_ + "/Driftglass.scr", "102"}),
            "16x16 32\n24x24 32\n32x32 32\n48x48 32\n64x64 32\n128x128 32\n256x256 32\n");
}

TEST_F(WindowsSaverTest, TheInstallerSelectsTheSaverAndItsUninstallerLeavesTheSettings) {
  const std::string installer = kBuild + "/Driftglass-1.0-setup.exe";
  ASSERT_TRUE(std::filesystem::exists(installer)) << "build the installer (needs makensis)";
  const std::string installed = prefix_ + "/drive_c/windows/system32/Driftglass.scr";
  const char* const desktop = "HKCU\\Control Panel\\Desktop";
  const char* const uninstallKey =
      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Driftglass";
  const auto query = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"reg", "query"});
    auto reg = Wine(arguments);
    return reg->WaitForExit(60s) == 0 ? std::optional<std::string>(reg->Stdout()) : std::nullopt;
  };

  // The setup carries the program's icon and a proper copyright.
  EXPECT_EQ(Driver({"version", installer}), "Driftglass #1\n1.0\nCopyright \xA9 2026 Tolvanet\n");
  const auto icons = Driver({"icons", installer, "103"});
  ASSERT_TRUE(icons.has_value()) << "no icon in the setup";
  EXPECT_NE(icons->find("256x256 32"), std::string::npos) << *icons;

  // The user had chosen another saver, which the uninstaller gives back.
  const std::string previous = "C:\\windows\\system32\\other.scr";
  Registry({"add", desktop, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", previous, "/f"});
  ASSERT_EQ(Wine({installer, "/S"})->WaitForExit(120s), 0);
  ASSERT_TRUE(std::filesystem::exists(installed));
  EXPECT_EQ(std::filesystem::file_size(installed),
            std::filesystem::file_size(kBuild + "/Driftglass.scr"));
  const auto saver = query({desktop, "/v", "SCRNSAVE.EXE"});
  ASSERT_TRUE(saver.has_value());
  EXPECT_NE(saver->find("C:\\windows\\System32\\Driftglass.scr"), std::string::npos) << *saver;
  const auto active = query({desktop, "/v", "ScreenSaveActive"});
  ASSERT_TRUE(active.has_value());
  EXPECT_NE(active->find("REG_SZ    1"), std::string::npos) << *active;
  const auto entry = query({uninstallKey});
  ASSERT_TRUE(entry.has_value()) << "no entry under installed programs";
  EXPECT_NE(entry->find("Driftglass #1"), std::string::npos) << *entry;
  EXPECT_NE(entry->find("Uninstall.exe\" /S"), std::string::npos) << *entry;

  // The installed saver runs once, writing its log; then the user's settings, and the silent
  // uninstall as installed programs would run it (the uninstaller hands its work to a copy of
  // itself and returns at once).
  const std::string installedLog = prefix_ + "/drive_c/windows/system32/Driftglass.log";
  auto once = Wine({"C:\\windows\\system32\\Driftglass.scr", "/s"});
  ASSERT_TRUE(e2e::WaitForLine(installedLog, kReady, 60s)) << once->Stderr();
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  EXPECT_EQ(once->WaitForExit(30s), 0);
  Registry({"add", kKey, "/v", "EnableFPS", "/t", "REG_DWORD", "/d", "1", "/f"});
  ASSERT_EQ(Wine({"C:\\Program Files\\Driftglass #1\\Uninstall.exe", "/S"})->WaitForExit(60s), 0);
  bool removed = false;
  for (int i = 0; i < 300 && !removed; ++i) {
    removed = !std::filesystem::exists(installed) && !query({uninstallKey}).has_value();
    if (!removed) std::this_thread::sleep_for(100ms);
  }
  EXPECT_TRUE(removed) << "the program or its entry is still there";
  EXPECT_FALSE(std::filesystem::exists(installedLog));
  const auto restored = query({desktop, "/v", "SCRNSAVE.EXE"});
  ASSERT_TRUE(restored.has_value()) << "the saver chosen before is lost";
  EXPECT_NE(restored->find(previous), std::string::npos) << *restored;
  Registry({"delete", desktop, "/v", "SCRNSAVE.EXE", "/f"});
  const auto settings = RegistryValue("EnableFPS");
  ASSERT_TRUE(settings.has_value()) << "the uninstaller took the user's settings";
  EXPECT_NE(settings->find("0x1"), std::string::npos);
  Registry({"delete", kKey, "/f"});
}

TEST_F(WindowsSaverTest, SetupAndUninstallerWalkTheirPagesAsAUserSeesThem) {
  const std::string installer = kBuild + "/Driftglass-1.0-setup.exe";
  const char* folder = std::getenv("DRIFTGLASS_SCREENSHOT_DIR");  // pages to look at, if asked
  // Waits for a page whose texts hold `expected`, keeps its picture if asked, then presses
  // the button at the bottom right (Next, I Agree, Install, Finish, Close: id 1).
  // (NSIS titles the pages with a header "NAME Setup " with a blank at the end.)
  const auto page = [&](const std::string& setupTitle, const std::string& expected,
                        const std::string& name) {
    std::optional<std::string> texts;
    std::string title;
    for (int i = 0; i < 300; ++i) {
      for (const std::string& candidate : {setupTitle, setupTitle + " "}) {
        texts = Driver({"text", candidate});
        title = candidate;
        if (texts && texts->find(expected) != std::string::npos) break;
      }
      if (texts && texts->find(expected) != std::string::npos) break;
      std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(texts.has_value()) << title;
    EXPECT_NE(texts->find(expected), std::string::npos) << *texts;
    EXPECT_EQ(texts->find("Nullsoft"), std::string::npos) << *texts;
    if (folder != nullptr) {
      std::this_thread::sleep_for(500ms);
      const auto rects = Driver({"rect", title, "1"});
      ASSERT_TRUE(rects.has_value());
      int r[8];
      std::istringstream numbers(*rects);
      for (int& n : r) numbers >> n;
      const e2e::Picture screen = x_.CaptureScreen();
      std::vector<uint8_t> rgba;
      const int left = std::max(0, r[4] - 4), top = std::max(0, r[5] - 30);
      const int width = std::min(screen.width, r[6] + 4) - left;
      const int height = std::min(screen.height, r[7] + 4) - top;
      for (int y = top; y < top + height; ++y) {
        const auto row = screen.rgba.begin() + (static_cast<size_t>(y) * screen.width + left) * 4;
        rgba.insert(rgba.end(), row, row + width * 4);
      }
      EXPECT_TRUE(
          driftglass::WritePng(std::string(folder) + "/" + name + ".png", width, height, rgba));
    }
    ASSERT_TRUE(Driver({"click", title, "1"}));
  };
  auto setup = Wine({installer});
  page("Driftglass #1 Setup", "Welcome to Driftglass #1", "setup-1-welcome");
  page("Driftglass #1 Setup", "License Agreement", "setup-2-licence");
  page("Driftglass #1 Setup", "Driftglass #1 is your screen saver", "setup-3-finish");
  EXPECT_EQ(setup->WaitForExit(60s), 0);
  EXPECT_TRUE(std::filesystem::exists(prefix_ + "/drive_c/windows/system32/Driftglass.scr"));

  auto uninstaller = Wine({"C:\\Program Files\\Driftglass #1\\Uninstall.exe"});
  page("Driftglass #1 Uninstall", "Uninstall Driftglass #1", "uninstall-1-confirm");
  page("Driftglass #1 Uninstall", "Uninstallation Complete", "uninstall-2-done");
  EXPECT_EQ(uninstaller->WaitForExit(60s), 0);
  EXPECT_FALSE(std::filesystem::exists(prefix_ + "/drive_c/windows/system32/Driftglass.scr"));
}

TEST_F(WindowsSaverTest, SetupAndUninstallerReplaceOrRemoveASaverThatRuns) {
  const std::string installer = kBuild + "/Driftglass-1.0-setup.exe";
  const std::string system32 = prefix_ + "/drive_c/windows/system32";
  const std::string installed = system32 + "/Driftglass.scr";
  const auto bytes = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  ASSERT_EQ(Wine({installer, "/S"})->WaitForExit(120s), 0);
  // An older saver (here: the same one, marked) runs as a preview in the display settings:
  // nothing can ask it to close, and it holds its file.
  std::ofstream(installed, std::ios::binary | std::ios::app) << "an older build";
  std::string handle;
  auto host = HostPreviewPane(handle);
  ASSERT_FALSE(handle.empty()) << host->Stderr();
  std::filesystem::remove(system32 + "/Driftglass.log");
  auto preview = Wine({"C:\\windows\\system32\\Driftglass.scr", "/p", handle});
  ASSERT_TRUE(e2e::WaitForLine(system32 + "/Driftglass.log", kReady, 60s)) << preview->Stderr();
  // Setting up again puts the new file in place, or says it could not: never 0 with the old.
  ASSERT_EQ(Wine({installer, "/S"})->WaitForExit(120s), 0);
  EXPECT_TRUE(bytes(installed) == bytes(kBuild + "/Driftglass.scr")) << "the old file stayed";
  ASSERT_TRUE(Driver({"close", "Preview pane"}));
  EXPECT_EQ(preview->WaitForExit(30s), 0);
  EXPECT_EQ(host->WaitForExit(30s), 0);

  // Uninstalling while it runs full screen closes it and removes the file.
  auto saver = Wine({"C:\\windows\\system32\\Driftglass.scr", "/s"});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 60s), 0u) << saver->Stderr();
  ASSERT_EQ(Wine({"C:\\Program Files\\Driftglass #1\\Uninstall.exe", "/S"})->WaitForExit(60s), 0);
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  bool removed = false;
  for (int i = 0; i < 300 && !removed; ++i) {
    removed = !std::filesystem::exists(installed);
    if (!removed) std::this_thread::sleep_for(100ms);
  }
  EXPECT_TRUE(removed) << "the running saver's file is still there";
  // What was moved aside goes at the next restart; this prefix never restarts.
  for (const auto& entry : std::filesystem::directory_iterator(system32)) {
    if (entry.path().filename().string().rfind("Driftglass-replaced-", 0) == 0) {
      std::filesystem::remove(entry.path());
    }
  }
}

TEST_F(WindowsSaverTest, WhereItsFolderCannotBeWrittenTheLogGoesToLocalApplicationData) {
  // A folder where the log's name is taken by a folder: no log can be written beside it.
  std::filesystem::create_directory(logPath_);
  std::vector<std::string> locals;  // each Wine user's %LOCALAPPDATA%\Driftglass\Driftglass.log
  for (const auto& user : std::filesystem::directory_iterator(prefix_ + "/drive_c/users")) {
    locals.push_back(user.path().string() + "/AppData/Local/Driftglass/Driftglass.log");
    std::filesystem::remove(locals.back());
  }
  auto saver = Saver({"/s"});
  const auto written = [&] {
    for (const std::string& local : locals) {
      const auto lines = e2e::ReadLines(local);
      if (std::find(lines.begin(), lines.end(), kReady) != lines.end()) return true;
    }
    return false;
  };
  bool found = false;
  for (int i = 0; i < 600 && !found; ++i) {
    found = written();
    if (!found) std::this_thread::sleep_for(100ms);
  }
  EXPECT_TRUE(found) << saver->Stderr();
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  for (const std::string& local : locals) std::filesystem::remove(local);
}

TEST_F(WindowsSaverTest, FullScreenRunsOnceSoundsSwallowsAnotherSaverAndEndsWhenTheScreenSleeps) {
  // ALSA's file device, converting to 16-bit stereo, records what DirectSound plays.
  const std::string home = e2e::MakeTempFolder("recording-home"), heardPath = home + "/heard.wav";
  std::ofstream(home + "/.asoundrc")
      << "pcm.!default {\n type plug\n slave { pcm \"recorder\"\n format S16_LE\n rate 44100\n"
      << " channels 2 }\n}\npcm.recorder {\n type file\n slave.pcm \"null\"\n file \"" << heardPath
      << "\"\n format \"wav\"\n}\n";
  auto saver = StartReady({"/s"}, {{"HOME", home}});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  // A second full-screen start from the same folder brings the first one forward and exits 0,
  // leaving the log the first one writes whole.
  EXPECT_EQ(Saver({"/S"})->WaitForExit(60s), 0);
  // The system asking for a screen saver finds one running already; powering the monitor
  // down ends it.
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScScreenSave}));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(Driver({"count", "WindowsScreenSaverClass", "Screen Saver"}), "1\n");
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
  std::vector<std::string> expected = NormalRunLog(SaverSceneLog(), "WGLEW_EXT_swap_control");
  expected.push_back("   Notify : FPS = -1");
  EXPECT_EQ(e2e::ReadLines(logPath_), expected);
  // The ambient loop starts 40 dB down, from the middle (3 dB less in each channel).
  e2e::Recording heard;
  ASSERT_TRUE(e2e::ReadWav(heardPath, heard));
  const double start = heard.FirstSound();
  ASSERT_GE(start, 0.0);
  const double recorded =
      e2e::PcmRmsDb(DRIFTGLASS_SOURCE_DIR "/resources/sounds/ambient.pcm", 0.0, 0.05);
  EXPECT_NEAR(heard.RmsDb(start, start + 0.05), recorded - 43, 1.5);

  // Another program coming to the front ends it too.
  auto again = StartReady({"/s"});
  ASSERT_TRUE(Driver({"post", "Screen Saver", kActivateApp, "0"}));
  EXPECT_EQ(again->WaitForExit(30s), 0);
}

TEST_F(WindowsSaverTest, FramesShowTheSeascapeAndTheBannerOnScheduleAndAKeyEndsThem) {
  const auto started = std::chrono::steady_clock::now();
  auto saver = StartReady({"/s"});
  std::this_thread::sleep_for(300ms);
  const e2e::SeascapeRegions early = e2e::MeasureSeascape(x_.CaptureScreen());
  std::this_thread::sleep_until(started + 11s);
  const e2e::Picture frame = x_.CaptureScreen();
  const e2e::SeascapeRegions later = e2e::MeasureSeascape(frame);
  // tools/make-screenshots.sh keeps this frame for the README.
  if (const char* folder = std::getenv("DRIFTGLASS_SCREENSHOT_DIR")) {
    EXPECT_TRUE(driftglass::WritePng(std::string(folder) + "/windows.png", frame.width,
                                     frame.height, frame.rgba));
  }
  for (const auto& regions : {early, later}) {
    EXPECT_GT(regions.sky.b, regions.sky.r + 0.04);
    EXPECT_GT(regions.sea.b, regions.sea.r + 0.04);
    EXPECT_LT(regions.shore.Luminance(), regions.sea.Luminance());
  }
  // Right after start-up the corner is bare sky; ten seconds in, the banner shines there.
  EXPECT_GT(later.banner.Luminance(), early.banner.Luminance() + 0.1);
  x_.Key(XK_space);
  EXPECT_EQ(saver->WaitForExit(30s), 0);
}

TEST_F(WindowsSaverTest, FailedStartsShowTheScreenSaverBoxUnderAnyPointerMove) {
  std::filesystem::copy_file(kBuild + "/tests/DriftglassBrokenPictures.scr",
                             folder_ + "/Broken.scr");
  x_.MovePointerTo(300, 300);
  struct Case {
    std::string program, log, text, line;
    std::map<std::string, std::string> environment;
  } cases[] = {{folder_ + "/Driftglass.scr",
                logPath_,
                "Sorry, this application requires OpenGL 2.0",
                "(!)Error : Can not initialize OpenGL 2.0",
                {{"MESA_GL_VERSION_OVERRIDE", "1.4"}}},
               {folder_ + "/Broken.scr",
                folder_ + "/Broken.log",
                "Error of initialization",
                "(!)Error : ManagerDecor initialization is failed",
                {}}};
  for (const Case& c : cases) {
    auto saver = Wine({c.program, "/s"}, c.environment);
    ASSERT_TRUE(Driver({"wait", "Screen saver", "60000"})) << saver->Stderr();
    // Moving the pointer while the box is up does not close the saver under it.
    x_.MovePointerTo(310, 305);
    x_.MovePointerTo(330, 320);
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(Driver({"wait", "Screen saver", "1000"}));
    const auto text = Driver({"text", "Screen saver"});
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find(c.text), std::string::npos) << *text;
    ASSERT_TRUE(Driver({"click", "Screen saver", "1"}));  // OK
    EXPECT_EQ(saver->WaitForExit(30s), 0);
    const auto lines = e2e::ReadLines(c.log);
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << c.line;
  }
}

TEST_F(WindowsSaverTest, WithoutASoundDeviceOrWithSoundSwitchedOffTheSceneRunsSilently) {
  const auto logHas = [&](const std::string& start) {
    const auto lines = e2e::ReadLines(logPath_);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
  };
  Registry({"delete", kKey, "/f"});  // the options' defaults: sound on
  // A home without an ALSA device: Wine has no DirectSound to offer, and the scene runs.
  auto saver = StartReady({"/s"}, {{"HOME", e2e::MakeTempFolder("soundless-home")}});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  x_.Key(XK_space);
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_TRUE(
      logHas("(!)Error : No sound, the scene runs silently: DirectSound could not open "
             "the default audio output"));

  // Switched off in the settings: nothing is played, though a device is there to record it.
  const std::string home = e2e::MakeTempFolder("quiet-home"), heardPath = home + "/heard.wav";
  std::ofstream(home + "/.asoundrc")
      << "pcm.!default {\n type plug\n slave { pcm \"recorder\"\n format S16_LE\n rate 44100\n"
      << " channels 2 }\n}\npcm.recorder {\n type file\n slave.pcm \"null\"\n file \"" << heardPath
      << "\"\n format \"wav\"\n}\n";
  Registry({"add", kKey, "/v", "EnableSound", "/t", "REG_SZ", "/d", "0", "/f"});
  auto quiet = StartReady({"/s"}, {{"HOME", home}});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  std::this_thread::sleep_for(1s);  // the ambient loop would be playing by now
  x_.Key(XK_space);
  EXPECT_EQ(quiet->WaitForExit(30s), 0);
  Registry({"delete", kKey, "/f"});
  EXPECT_TRUE(logHas("   Notify : Sound is switched off: the scene runs silently"));
  e2e::Recording heard;
  EXPECT_FALSE(e2e::ReadWav(heardPath, heard) && heard.FirstSound() >= 0.0);
}

TEST_F(WindowsSaverTest, EveryDamagedPictureAndShaderIsNamedInTheLog) {
  // Each picture and shader of a copy of the program damaged in turn.
  for (const e2e::ResourceEntry& resource : e2e::ListedResources()) {
    const auto damage = e2e::DamageFor(resource, true);
    if (!damage) continue;
    SCOPED_TRACE(resource.file);
    const std::string id = std::to_string(resource.id);
    const std::string copy = folder_ + "/Damaged" + id + ".scr";
    std::string why;
    ASSERT_TRUE(e2e::WriteDamagedCopy(kBuild + "/Driftglass.scr", resource, *damage, copy, why))
        << why;
    auto saver = Wine({copy, "/s"});
    ASSERT_TRUE(Driver({"wait", "Screen saver", "60000"})) << saver->Stderr();
    const auto text = Driver({"text", "Screen saver"});
    EXPECT_EQ(text, "Error of initialization\n");
    ASSERT_TRUE(Driver({"click", "Screen saver", "1"}));
    EXPECT_EQ(saver->WaitForExit(30s), 0);
    const auto lines = e2e::ReadLines(folder_ + "/Damaged" + id + ".log");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& logged) {
      return logged.rfind(damage->line, 0) == 0;
    })) << damage->line;
  }
}

TEST_F(WindowsSaverTest, PreviewRunsInsideItsParentAndEndsWithIt) {
  std::string handle;
  auto host = HostPreviewPane(handle);
  ASSERT_FALSE(handle.empty()) << host->Stderr();
  auto saver = StartReady({"/p", handle});
  // Input does not end a preview.
  x_.MovePointerTo(100, 100);
  x_.MovePointerTo(200, 180);
  x_.Key(XK_space);
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(Driver({"count", "WindowsScreenSaverClass", "Screen Saver"}), "0\n");
  ASSERT_TRUE(Driver({"close", "Preview pane"}));
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_EQ(host->WaitForExit(30s), 0);
  const auto lines = e2e::ReadLines(logPath_);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "   Notify : Common uninstall has finished properly");
  // Without a window to preview in there is nothing to run: no handle, one that names no
  // window (the closed pane's), or no number at all.
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"/p", "0"},
                                                    {"/p", handle},
                                                    {"/p", "-1"},
                                                    {"/p", "pane"},
                                                    {"/p"},
                                                    {"/p", "99999999999999999999"},
                                                    {"/x"}}) {
    EXPECT_EQ(Saver(arguments)->WaitForExit(60s), 255) << arguments.back();
  }
}

TEST_F(WindowsSaverTest, TheBannerFillsTheSettingsDialogAtEveryDpi) {
  const char* const desktop = "HKCU\\Control Panel\\Desktop";
  for (const int dpi : {96, 144, 192}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    Registry(
        {"add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", std::to_string(dpi), "/f"});
    auto dialog = Saver({"/c"});
    ASSERT_TRUE(Driver({"wait", kSettingsTitle, "30000"})) << dialog->Stderr();
    std::this_thread::sleep_for(500ms);
    const auto rects = Driver({"rect", kSettingsTitle, "105"});
    ASSERT_TRUE(rects.has_value());
    int banner[4], client[4];
    std::istringstream numbers(*rects);
    for (int& n : banner) numbers >> n;
    for (int& n : client) numbers >> n;
    // The control spans the dialog, and the picture fills the control: its right end shows
    // the night sky, not the dialog's grey.
    EXPECT_GE(banner[2] - banner[0], client[2] - client[0] - 2) << *rects;
    const e2e::Picture screen = x_.CaptureScreen();
    const double width = screen.width, height = screen.height;
    const int right = client[2], span = client[2] - client[0];
    const e2e::MeanColour rightEnd =
        e2e::RegionMean(screen, (right - 0.12 * span) / width, (right - 3) / width,
                        (banner[1] + 0.3 * (banner[3] - banner[1])) / height,
                        (banner[1] + 0.7 * (banner[3] - banner[1])) / height);
    EXPECT_LT(rightEnd.Luminance(), 0.4) << *rects;
    EXPECT_GT(rightEnd.b, rightEnd.r) << *rects;
    ASSERT_TRUE(Driver({"close", kSettingsTitle}));
    EXPECT_EQ(dialog->WaitForExit(30s), 1);
  }
  Registry({"delete", desktop, "/v", "LogPixels", "/f"});
}

TEST_F(WindowsSaverTest, SettingsResetConfirmAndCloseStoreWhatTheyShould) {
  // Written by hand: a DWORD where text belongs, and a text that is no number. Both keep
  // their defaults.
  Registry({"delete", kKey, "/f"});
  Registry({"add", kKey, "/v", "EnableVSync", "/t", "REG_DWORD", "/d", "0", "/f"});
  Registry({"add", kKey, "/v", "EnableFPS", "/t", "REG_SZ", "/d", "yes", "/f"});
  auto dialog = Saver({"/c"});
  ASSERT_TRUE(Driver({"wait", kSettingsTitle, "30000"})) << dialog->Stderr();
  EXPECT_EQ(Driver({"checked", kSettingsTitle, "104"}), "1\n");
  EXPECT_EQ(Driver({"checked", kSettingsTitle, "103"}), "0\n");
  // Both boxes changed, then "Reset to default": the defaults again, nothing stored.
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "103"}));
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "104"}));
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "2"}));
  EXPECT_EQ(Driver({"checked", kSettingsTitle, "103"}), "0\n");
  EXPECT_EQ(Driver({"checked", kSettingsTitle, "104"}), "1\n");
  // The close button stores nothing either.
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "104"}));
  ASSERT_TRUE(Driver({"close", kSettingsTitle}));
  EXPECT_EQ(dialog->WaitForExit(30s), 1);
  EXPECT_NE(RegistryValue("EnableVSync")->find("REG_DWORD"), std::string::npos);

  // Untick "VSync control" and "Play sound" and confirm: both stored as the text 0.
  Registry({"delete", kKey, "/f"});
  auto again = Saver({"/c"});
  ASSERT_TRUE(Driver({"wait", kSettingsTitle, "30000"})) << again->Stderr();
  EXPECT_EQ(Driver({"checked", kSettingsTitle, "106"}), "1\n");
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "104"}));
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "106"}));
  ASSERT_TRUE(Driver({"click", kSettingsTitle, "1"}));
  EXPECT_EQ(again->WaitForExit(30s), 1);
  for (const char* name : {"EnableVSync", "EnableSound"}) {
    const auto value = RegistryValue(name);
    ASSERT_TRUE(value.has_value()) << name;
    EXPECT_NE(value->find("REG_SZ    0"), std::string::npos) << *value;
  }
  EXPECT_TRUE(RegistryValue("SlideshowPictures").has_value());
}

TEST_F(WindowsSaverTest, AKeyThatCannotBeWrittenIsToldAndTheDialogStays) {
  // Under a volatile parent no lasting key can be made: the key cannot be written.
  ASSERT_TRUE(Driver({"volatile", "Software\\Tolvanet"}));
  auto dialog = Saver({"/c"});
  ASSERT_TRUE(Driver({"wait", kSettingsTitle, "30000"})) << dialog->Stderr();
  ASSERT_TRUE(Driver({"post", kSettingsTitle, "273", "1"}));  // WM_COMMAND "Confirm settings"
  std::optional<std::string> told;
  for (int i = 0; i < 50 && !told; ++i) {
    told = Driver({"answer", kSettingsTitle});
    if (!told) std::this_thread::sleep_for(200ms);
  }
  ASSERT_TRUE(told.has_value());
  EXPECT_EQ(told->rfind("The settings could not be saved: ", 0), 0u) << *told;
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(dialog->Running());
  ASSERT_TRUE(Driver({"close", kSettingsTitle}));
  EXPECT_EQ(dialog->WaitForExit(30s), 1);
  EXPECT_FALSE(RegistryValue("EnableVSync").has_value());
  Registry({"delete", "HKLM\\Software\\Tolvanet", "/f"});
}

}  // namespace

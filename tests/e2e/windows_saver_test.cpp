// The Windows screen saver and its setup, run under Wine on the test's X display as Windows
// would run them.
#include <thread>

#include "linux/png_snapshot.h"
#include "support/wine_saver.h"

namespace e2e {
namespace {

const std::string kVersion = "Driftglass #1\n1.0\nCopyright \xA9 2026 Tolvanet\n";
const std::string kDesktop = "HKCU\\Control Panel\\Desktop";
const std::string kInstaller = kBuild + "/Driftglass-1.0-setup.exe";
const std::string kUninstaller = "C:\\Program Files\\Driftglass #1\\Uninstall.exe";
const std::string kInstalled = "C:\\windows\\system32\\Driftglass.scr";

TEST_F(WindowsSaverTest, SetupSelectsOrReplacesTheSaverAndTheUninstallerGivesBackTheOneBefore) {
  ASSERT_TRUE(std::filesystem::exists(kInstaller)) << "build the installer (needs makensis)";
  // Explorer's Properties show the product, its version and copyright, and the icon at every
  // size Explorer, the taskbar and the settings ask for, in full colour.
  for (const std::string& program : {folder_ + "/Driftglass.scr", kInstaller}) {
    EXPECT_EQ(Driver({"version", program}), kVersion) << program;
  }
  EXPECT_EQ(Driver({"icons", folder_ + "/Driftglass.scr", "102"}),
            "16x16 32\n24x24 32\n32x32 32\n48x48 32\n64x64 32\n128x128 32\n256x256 32\n");
  EXPECT_THAT(Driver({"icons", kInstaller, "103"}).value_or(""), HasSubstr("256x256 32"));

  const std::string system32 = prefix_ + "/drive_c/windows/system32";
  const std::string installed = system32 + "/Driftglass.scr", log = system32 + "/Driftglass.log";
  const std::string uninstallKey =
      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Driftglass";
  // Waits for a page whose texts hold `expected` and presses the button at the bottom right
  // (Next, I Agree, Finish, Close: id 1). NSIS titles inner pages "NAME Setup " with a blank.
  const auto page = [&](const std::string& title, const std::string& expected) {
    std::string shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (const std::string& candidate : {title, title + " "}) {
            const auto texts = Driver({"text", candidate});
            if (texts && texts->find(expected) != std::string::npos) shown = candidate;
          }
          return !shown.empty();
        },
        30s))
        << expected;
    EXPECT_EQ(Driver({"text", shown}).value_or("Nullsoft").find("Nullsoft"), std::string::npos);
    ASSERT_TRUE(Driver({"click", shown, "1"}));
  };

  // The user had chosen another saver. Setup, page by page, installs ours and selects it.
  const std::string previous = "C:\\windows\\system32\\other.scr";
  Registry({"add", kDesktop, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", previous, "/f"});
  auto setup = Wine({kInstaller});
  page("Driftglass #1 Setup", "Welcome to Driftglass #1");
  page("Driftglass #1 Setup", "License Agreement");
  page("Driftglass #1 Setup", "Driftglass #1 is your screen saver");
  ASSERT_EQ(setup->WaitForExit(60s), 0);
  ASSERT_EQ(ReadFile(installed), ReadFile(kBuild + "/Driftglass.scr"));
  EXPECT_THAT(RegistryValue("SCRNSAVE.EXE", kDesktop).value_or(""),
              HasSubstr("C:\\windows\\System32\\Driftglass.scr"));
  EXPECT_THAT(RegistryValue("ScreenSaveActive", kDesktop).value_or(""), HasSubstr("REG_SZ    1"));
  EXPECT_THAT(RegistryValue("", uninstallKey).value_or(""),
              AllOf(HasSubstr("Driftglass #1"), HasSubstr("Uninstall.exe\" /S")));

  // An older saver (here: the same one, marked) runs as a preview in the display settings:
  // nothing can ask it to close, and it holds its file. Setting up again (silently) puts the
  // new file in place, or says it could not: never 0 with the old one left.
  std::ofstream(installed, std::ios::binary | std::ios::app) << "an older build";
  std::string handle;
  auto host = HostPreviewPane(handle);
  ASSERT_FALSE(handle.empty()) << host->Stderr();
  std::filesystem::remove(log);
  auto preview = Wine({kInstalled, "/p", handle});
  ASSERT_TRUE(WaitForLine(log, names::kReady, 60s)) << preview->Stderr();
  ASSERT_EQ(RunWine({kInstaller, "/S"}).first, 0);
  EXPECT_EQ(ReadFile(installed), ReadFile(kBuild + "/Driftglass.scr")) << "the old file stayed";
  ASSERT_TRUE(Driver({"close", "Preview pane"}));
  EXPECT_EQ(preview->WaitForExit(30s), 0);
  EXPECT_EQ(host->WaitForExit(30s), 0);

  // The silent uninstall, as installed programs would run it, while the saver runs full
  // screen: it closes the saver and takes the program, its entry and its log, gives back the
  // saver chosen before and leaves the user's settings. (The uninstaller hands its work to a
  // copy of itself and returns at once.)
  std::filesystem::remove(log);
  auto saver = Wine({kInstalled, "/s"});
  ASSERT_TRUE(WaitForLine(log, names::kReady, 60s)) << saver->Stderr();
  Registry({"add", kKey, "/v", "EnableFPS", "/t", "REG_DWORD", "/d", "1", "/f"});
  ASSERT_EQ(RunWine({kUninstaller, "/S"}).first, 0);
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !std::filesystem::exists(installed) && !std::filesystem::exists(log) &&
               !RegistryValue("", uninstallKey);
      },
      30s))
      << "the program, its log or its entry is still there";
  EXPECT_THAT(RegistryValue("SCRNSAVE.EXE", kDesktop).value_or(""), HasSubstr(previous));
  EXPECT_THAT(RegistryValue("EnableFPS").value_or(""), HasSubstr("0x1"));

  // The uninstaller as a user walks it.
  ASSERT_EQ(RunWine({kInstaller, "/S"}).first, 0);
  auto uninstaller = Wine({kUninstaller});
  page("Driftglass #1 Uninstall", "Uninstall Driftglass #1");
  page("Driftglass #1 Uninstall", "Uninstallation Complete");
  EXPECT_EQ(uninstaller->WaitForExit(60s), 0);
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(installed); }, 30s));

  Registry({"delete", kDesktop, "/v", "SCRNSAVE.EXE", "/f"});
  Registry({"delete", kKey, "/f"});
  // What was moved aside goes at the next restart; this prefix never restarts.
  for (const auto& file : std::filesystem::directory_iterator(system32)) {
    if (file.path().filename().string().rfind("Driftglass-replaced-", 0) == 0) {
      std::filesystem::remove(file.path());
    }
  }
}

TEST_F(WindowsSaverTest, FullScreenRunsOnceSwallowsAnotherSaverAndEndsWhenTheScreenSleeps) {
  const auto started = std::chrono::steady_clock::now();
  auto saver = StartReady({"/s"});
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  // The whole view at the screen's shape, and made smaller at its new shape.
  const Picture screen = x_.CaptureScreen();
  EXPECT_TRUE(x_.WaitForSeascape(0, 0, screen.width, screen.height, 60s));
  ASSERT_TRUE(Driver({"size", "Screen Saver", "640", "480"}));
  EXPECT_TRUE(x_.WaitForSeascape(0, 0, 640, 480, 30s));
  // tools/make-screenshots.sh keeps a frame for the README, with the banner at its brightest.
  if (const char* folder = std::getenv("DRIFTGLASS_SCREENSHOT_DIR")) {
    std::this_thread::sleep_until(started + 11s);
    const Picture frame = x_.CaptureScreen();
    driftglass::WritePng(std::string(folder) + "/windows.png", frame.width, frame.height,
                         frame.rgba);
  }
  // A second full-screen start from the same folder brings the first one forward and exits 0,
  // leaving the log the first one writes whole.
  EXPECT_EQ(Saver({"/S"})->WaitForExit(60s), 0);
  // The system asking for a screen saver finds one running already (once the saver has
  // taken the request, it still runs, alone); powering the monitor down ends it.
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScScreenSave}));
  ASSERT_TRUE(Driver({"settle", "Screen Saver"}));
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(Driver({"count", "WindowsScreenSaverClass", "Screen Saver"}), "1\n");
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  ASSERT_EQ(saver->WaitForExit(30s), 0) << saver->Stderr();
  EXPECT_THAT(ReadLines(logPath_),
              IsSupersetOf({"   Notify : WGLEW_EXT_swap_control extension is found",
                            "   Notify : SoundManager has been created", names::kUninstalled}));

  // Another program coming to the front ends it too.
  auto again = StartReady({"/s"});
  ASSERT_TRUE(Driver({"post", "Screen Saver", kActivateApp, "0"}));
  EXPECT_EQ(again->WaitForExit(30s), 0);
}

TEST_F(WindowsSaverTest, WithoutASoundDeviceTheSceneRunsSilentlyUntilFivePixelsOfPointer) {
  // A home without an ALSA device: Wine has no DirectSound to offer, and the scene runs.
  x_.MovePointerTo(300, 300);
  auto saver = StartReady({"/s"}, {{"HOME", MakeTempFolder("soundless-home")}});
  EXPECT_TRUE(x_.WaitForScreen(LooksLikeTheSeascape, 20s));
  // Four pixels of pointer, once the window has taken them, let it be; five end it.
  x_.MovePointerTo(303, 301);
  ASSERT_TRUE(Driver({"settle", "Screen Saver"}));
  EXPECT_TRUE(saver->Running());
  x_.MovePointerTo(303, 302);
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_TRUE(HasLineStarting(ReadLines(logPath_),
                              "(!)Error : No sound, the scene runs silently: DirectSound could "
                              "not open the default audio output"));
}

}  // namespace
}  // namespace e2e

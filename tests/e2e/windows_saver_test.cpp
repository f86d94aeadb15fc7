// The Windows screen saver and its setup, run under Wine on the test's X display as Windows
// would run them.
#include <sstream>
#include <thread>

#include "linux/png_snapshot.h"
#include "support/sound_checks.h"
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
  ASSERT_EQ(Wine({kInstaller, "/S"})->WaitForExit(120s), 0);
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
  ASSERT_EQ(Wine({kUninstaller, "/S"})->WaitForExit(60s), 0);
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
  ASSERT_EQ(Wine({kInstaller, "/S"})->WaitForExit(120s), 0);
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

TEST_F(WindowsSaverTest, WhereItsFolderCannotBeWrittenTheLogGoesToLocalApplicationData) {
  // A folder where the log's name is taken by a folder: no log can be written beside it.
  std::filesystem::create_directory(logPath_);
  std::vector<std::string> locals;  // each Wine user's %LOCALAPPDATA%\Driftglass\Driftglass.log
  for (const auto& user : std::filesystem::directory_iterator(prefix_ + "/drive_c/users")) {
    locals.push_back(user.path().string() + "/AppData/Local/Driftglass/Driftglass.log");
    std::filesystem::remove(locals.back());
  }
  auto saver = Saver({"/s"});
  const auto ready = [](const std::string& local) { return WaitForLine(local, names::kReady, 0s); };
  EXPECT_TRUE(WaitUntil([&] { return std::any_of(locals.begin(), locals.end(), ready); }, 60s))
      << saver->Stderr();
  ASSERT_NE(x_.WaitForWindowNamed("Screen Saver", 20s), 0u);
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  for (const std::string& local : locals) std::filesystem::remove(local);
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

TEST_F(WindowsSaverTest, OnTwoMonitorsEachShowsTheWholeSceneOrOnlyThePrimaryDoes) {
  // Wine tells the monitors apart by Xinerama here, once its desktop runs on that display:
  // every Wine process of the test starts there, in a session of its own.
  TwoMonitorDisplay two(640, 360);
  ASSERT_TRUE(two.Valid());
  const e2e::Environment onTwo = {{"DISPLAY", two.Name()}};
  const std::string x11Driver = "HKCU\\Software\\Wine\\X11 Driver";
  NewSession();
  Registry({"add", x11Driver, "/v", "UseXRandR", "/t", "REG_SZ", "/d", "N", "/f"}, onTwo);
  NewSession();  // the desktop reads the setting when it starts
  X11Session screen(two.Name().c_str());
  for (const bool all : {true, false}) {
    SCOPED_TRACE(all ? "every monitor" : "AllMonitors 0");
    Registry({"add", kKey, "/v", "AllMonitors", "/t", "REG_SZ", "/d", all ? "1" : "0", "/f"},
             onTwo);
    auto saver = StartReady({"/s"}, onTwo);
    // Until the creature has left the moons and the banner has gone, if either was in the way.
    EXPECT_TRUE(screen.WaitForScreen(
        [&](const Picture& frame) {
          const Picture second = Crop(frame, 640, 0, 640, 360);
          return ShowsTheWholeView(Crop(frame, 0, 0, 640, 360)) &&
                 (all ? ShowsTheWholeView(second)
                      : RegionMean(second, 0, 1, 0, 1).Luminance() == 0);
        },
        60s));
    screen.Key(XK_space);
    EXPECT_EQ(saver->WaitForExit(30s), 0);
  }
  Registry({"delete", kKey, "/f"}, onTwo);
  Registry({"delete", x11Driver, "/v", "UseXRandR", "/f"}, onTwo);
  NewSession();
}

TEST_F(WindowsSaverTest, OnePreviewPlaysTheSoundAndGivesItUpWhileAFullScreenSaverRuns) {
  const std::string silent = "   Notify : Another instance plays the sound: this one runs silently";
  const std::string free = "   Notify : The sound is free again: this instance plays it";
  std::string handle;
  auto host = HostPreviewPane(handle);
  ASSERT_FALSE(handle.empty()) << host->Stderr();
  const std::string heard = MakeTempFolder("heard");
  auto preview = StartReady({"/p", handle}, {{"HOME", RecordingHome("preview", heard + "/p.wav")}});
  EXPECT_TRUE(HasLineStarting(ReadLines(logPath_), "   Notify : SoundManager has been created"));
  // A second preview, writing a log of its own, finds the sound taken and runs silently.
  const std::string secondLog = folder_ + "/Driftglass-2.log";
  std::string secondHandle;
  auto secondHost = HostPreviewPane(secondHandle, "Second pane");
  ASSERT_FALSE(secondHandle.empty()) << secondHost->Stderr();
  auto second = Saver({"/p", secondHandle});
  EXPECT_TRUE(WaitForLine(secondLog, names::kReady, 60s)) << second->Stderr();
  EXPECT_TRUE(HasLineStarting(ReadLines(secondLog), silent));
  ASSERT_TRUE(Driver({"close", "Second pane"}));
  ASSERT_EQ(second->WaitForExit(30s), 0);
  EXPECT_EQ(secondHost->WaitForExit(30s), 0);
  // The full-screen saver starts, writing a log of its own (the second preview's name, free
  // again): the preview falls silent, and the full-screen saver takes the sound up.
  const std::string& fullLog = secondLog;
  auto full = Saver({"/s"}, {{"HOME", RecordingHome("full", heard + "/s.wav")}});
  EXPECT_TRUE(WaitForLine(logPath_, silent, 60s));
  // (It plays from its start when the preview had already given the sound up.)
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto lines = ReadLines(fullLog);
        return HasLineStarting(lines, free) ||
               HasLineStarting(lines, "   Notify : SoundManager has been created");
      },
      30s));
  // It ends, and the preview plays again.
  ASSERT_TRUE(Driver({"post", "Screen Saver", kSysCommand, kScMonitorPower}));
  EXPECT_EQ(full->WaitForExit(30s), 0);
  EXPECT_TRUE(WaitForLine(logPath_, free, 30s));
  ASSERT_TRUE(Driver({"close", "Preview pane"}));
  EXPECT_EQ(preview->WaitForExit(30s), 0);
  EXPECT_EQ(host->WaitForExit(30s), 0);
  Recording played;
  EXPECT_TRUE(ReadWav(heard + "/s.wav", played) && played.FirstSound() >= 0.0);
}

TEST_F(WindowsSaverTest, AFailedStartShowsTheScreenSaverBoxUnderAnyPointerMove) {
  x_.MovePointerTo(300, 300);
  auto saver = Saver({"/s"}, {{"MESA_GL_VERSION_OVERRIDE", "1.4"}});
  ASSERT_TRUE(Driver({"wait", "Screen saver", "60000"})) << saver->Stderr();
  // Moving the pointer while the box is up does not close the saver under it.
  x_.MovePointerTo(310, 305);
  x_.MovePointerTo(330, 320);
  ASSERT_TRUE(Driver({"settle", "Screen saver"}));
  EXPECT_EQ(Driver({"text", "Screen saver"}), "Sorry, this application requires OpenGL 2.0\n");
  ASSERT_TRUE(Driver({"click", "Screen saver", "1"}));  // OK
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_TRUE(HasLineStarting(ReadLines(logPath_), "(!)Error : Can not initialize OpenGL 2.0"));
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

TEST_F(WindowsSaverTest, PreviewRunsInsideItsParentAndEndsWithIt) {
  std::string handle;
  auto host = HostPreviewPane(handle);
  ASSERT_FALSE(handle.empty()) << host->Stderr();
  auto saver = StartReady({"/p", handle});
  // Input does not end a preview.
  x_.MovePointerTo(100, 100);
  x_.MovePointerTo(200, 180);
  x_.Key(XK_space);
  ASSERT_TRUE(Driver({"settle", "Preview pane", "child"}));
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(Driver({"count", "WindowsScreenSaverClass", "Screen Saver"}), "0\n");
  ASSERT_TRUE(Driver({"close", "Preview pane"}));
  EXPECT_EQ(saver->WaitForExit(30s), 0);
  EXPECT_EQ(host->WaitForExit(30s), 0);
  const auto lines = ReadLines(logPath_);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], names::kUninstalled);
  // A handle that names no window (the closed pane's), a word for a handle, or another letter:
  // nothing to run.
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"/p", handle}, {"/p", "pane"}, {"/x"}}) {
    EXPECT_EQ(Saver(arguments)->WaitForExit(60s), 255) << arguments.back();
  }
}

TEST_F(WindowsSaverTest, TheSettingsDialogFitsEveryDpiAndStoresOnlyWhatIsConfirmed) {
  const std::string title = names::kSettingsTitle;
  const auto open = [&] {
    auto dialog = Saver({"/c"});
    EXPECT_TRUE(Driver({"wait", title, "30000"})) << dialog->Stderr();
    return dialog;
  };
  // The banner spans the dialog and the picture fills it: its right end shows the night
  // sky, not the dialog's grey.
  for (const int dpi : {96, 144, 192}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    Registry(
        {"add", kDesktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", std::to_string(dpi), "/f"});
    auto dialog = open();
    int banner[4], client[4];
    std::istringstream numbers(Driver({"rect", title, "105"}).value_or(""));
    for (int& n : banner) numbers >> n;
    for (int& n : client) numbers >> n;
    EXPECT_GE(banner[2] - banner[0], client[2] - client[0] - 2);
    const int span = client[2] - client[0], height = banner[3] - banner[1];
    MeanColour rightEnd;
    EXPECT_TRUE(WaitUntil(
        [&] {
          const Picture screen = x_.CaptureScreen();
          const double w = screen.width, h = screen.height;
          rightEnd = RegionMean(screen, (client[2] - span / 8) / w, (client[2] - 3) / w,
                                (banner[1] + height * 0.3) / h, (banner[1] + height * 0.7) / h);
          return rightEnd.Luminance() < 0.4 && rightEnd.b > rightEnd.r;
        },
        10s))
        << rightEnd.r << " " << rightEnd.g << " " << rightEnd.b;
    ASSERT_TRUE(Driver({"close", title}));
    EXPECT_EQ(dialog->WaitForExit(30s), 1);
  }
  Registry({"delete", kDesktop, "/v", "LogPixels", "/f"});

  // Written by hand: a DWORD where text belongs (49, whose bytes spell "1"), and a text that
  // is no number. Both keep their defaults. Both boxes changed, then "Reset to default": the
  // defaults again; then the close button: nothing stored.
  Registry({"delete", kKey, "/f"});
  Registry({"add", kKey, "/v", "EnableFPS", "/t", "REG_DWORD", "/d", "49", "/f"});
  Registry({"add", kKey, "/v", "EnableVSync", "/t", "REG_SZ", "/d", "yes", "/f"});
  auto dialog = open();
  EXPECT_EQ(Driver({"checked", title, "104"}), "1\n");
  EXPECT_EQ(Driver({"checked", title, "103"}), "0\n");
  for (const char* id : {"103", "104", "2"}) ASSERT_TRUE(Driver({"click", title, id}));
  EXPECT_EQ(Driver({"checked", title, "103"}), "0\n");
  EXPECT_EQ(Driver({"checked", title, "104"}), "1\n");
  ASSERT_TRUE(Driver({"click", title, "104"}));
  ASSERT_TRUE(Driver({"close", title}));
  EXPECT_EQ(dialog->WaitForExit(30s), 1);
  EXPECT_THAT(RegistryValue("EnableFPS").value_or(""), HasSubstr("REG_DWORD"));

  // "VSync control" and "Play sound" unticked and confirmed: both stored as the text 0.
  Registry({"delete", kKey, "/f"});
  dialog = open();
  EXPECT_EQ(Driver({"checked", title, "106"}), "1\n");
  for (const char* id : {"104", "106", "1"}) ASSERT_TRUE(Driver({"click", title, id}));
  EXPECT_EQ(dialog->WaitForExit(30s), 1);
  EXPECT_THAT(RegistryValue("EnableVSync").value_or(""), HasSubstr("REG_SZ    0"));
  EXPECT_THAT(RegistryValue("EnableSound").value_or(""), HasSubstr("REG_SZ    0"));
  EXPECT_TRUE(RegistryValue("SlideshowPictures").has_value());

  // Under a volatile parent no lasting key can be made: the key cannot be written. A message
  // says so, and the dialog stays, to say so again when asked again.
  ASSERT_TRUE(Driver({"volatile", "Software\\Tolvanet"}));
  dialog = open();
  for (int attempt = 0; attempt < 2; ++attempt) {
    ASSERT_TRUE(Driver({"post", title, "273", "1"}));  // WM_COMMAND "Confirm settings"
    std::optional<std::string> told;
    ASSERT_TRUE(WaitUntil([&] { return (told = Driver({"answer", title})).has_value(); }, 10s));
    EXPECT_THAT(*told, StartsWith("The settings could not be saved: "));
  }
  ASSERT_TRUE(Driver({"close", title}));
  EXPECT_EQ(dialog->WaitForExit(30s), 1);
  EXPECT_FALSE(RegistryValue("EnableVSync").has_value());
  Registry({"delete", "HKLM\\Software\\Tolvanet", "/f"});
}

}  // namespace
}  // namespace e2e

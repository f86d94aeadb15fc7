// The Linux program when things go wrong: at start-up, while it runs, in its files, and when
// told to end at any moment: the reason given, the exit status, and the options left whole.
#include "support/linux_saver.h"
// clang-format off
#include <signal.h>
// clang-format on

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace e2e {
namespace {

using ::testing::Eq;
using ::testing::Matcher;
using ::testing::MatchesRegex;

// Options a user wrote by hand, with a comment of their own: no failure may change them.
const std::string kUsersOptions =
    "# mine: keep\n[Software\\Tolvanet\\Driftglass #1 screensaver]\nEnableFPS=1\n"
    "EnableVSync=1\nSlideshowPictures=\n";
const std::string kLost = "(!)Error : The connection to the X display is lost";

// The moments of a start, by the line its log has just written: none yet (the very first
// instant), the program up, the render thread starting, the context made, the scene being
// built, the scene running.
const std::string kStages[] = {"",
                               "   Notify : Application has run",
                               "   Notify : Start common initialization",
                               "   Notify : Context for OpenGL has been created",
                               "   Notify : Start scene initialization",
                               names::kReady};

TEST_F(LinuxSaverTest, EachStartThatCannotRunEndsWithItsStatusOneLineAndItsLog) {
  const Window window = x_.MakeWindow();
  const Window gone = x_.MakeWindow();
  x_.Destroy(gone);
  const Environment daemon = {{"XSCREENSAVER_WINDOW", Hex(window)}};
  const Environment oldGl = {{"MESA_GL_VERSION_OVERRIDE", "1.4"}};
  const std::string notAFolder = home_ + "/not-a-folder";
  std::ofstream(notAFolder) << "a file where the log folder would be\n";
  struct Case {
    std::vector<std::string> arguments;
    Environment environment;
    int status;
    Matcher<std::string> said;       // standard error
    std::vector<std::string> lines;  // in the log in this order, not necessarily next to each other
    std::string program = DRIFTGLASS_BINARY;
    Matcher<std::string> printed = Eq("");  // standard output
  };
  const auto fault = [&](const char* name) { return With(daemon, With(kShim, {{name, "1"}})); };
  const auto told = [](const std::string& text) { return Eq("driftglass: " + text + "\n"); };
  const std::string noGl20 = "(!)Error : Can not initialize OpenGL 2.0",
                    noContext = "(!)Error : Can not create an OpenGL context and make it current",
                    common = "   Notify : Error of common initialization";
  // Under the daemon nobody could answer a box above its window: the process ends at once.
  const Case cases[] = {
      {{"-root"}, With(daemon, oldGl), 1, told("Sorry, this application requires OpenGL 2.0"),
       {noGl20, common}},
      {{"/p", std::to_string(window)}, oldGl, 1,
       told("Sorry, this application requires OpenGL 2.0"), {noGl20}},
      // A context that is not made, or made but not current, is deleted once, without a crash.
      {{"-root"}, fault("DRIFTGLASS_FAULT_CREATE_CONTEXT"), 1, told("Error of initialization"),
       {noContext, common}},
      {{"-root"}, fault("DRIFTGLASS_FAULT_MAKE_CURRENT"), 1, told("Error of initialization"),
       {noContext, common}},
      // A window that is gone before the saver looks: nothing to draw in. A preview given no
      // window to preview in is a bad command line.
      {{"-root"}, {{"XSCREENSAVER_WINDOW", Hex(gone)}}, 1,
       told("there is no window " + std::to_string(gone) + " to draw in"), {}},
      {{"--root", "--window-id", Hex(gone)}, {}, 255,
       told("there is no window " + std::to_string(gone) + " to draw in"), {}},
      // A word that only begins like a mode (the parsing itself has unit tests), no display.
      {{"-sounds"}, {}, 255, told("unknown option '-sounds' (see --help)"), {}},
      {{"-window"}, {{"DISPLAY", ""}}, 1, told("cannot open the X display ''; is DISPLAY set?"), {}},
      {{"-c"}, {{"DISPLAY", ""}, {"GDK_BACKEND", "x11"}}, 255,
       told("cannot open the settings dialog"), {}},
      // Room for one more descriptor only: the libraries load, but no signal pipe can be made.
      {{"--nofile=4", DRIFTGLASS_BINARY, "-window"}, {}, 1,
       StartsWith("driftglass: cannot make the pipe that answers SIGTERM"), {}, "/usr/bin/prlimit"},
      // Without a log the saver runs all the same, and says so.
      {{"-window", "--size", "160x120", "--frames", "5"}, {{"XDG_STATE_HOME", notAFolder}}, 0,
       told("runs without a log: cannot write " + notAFolder +
            "/driftglass/driftglass.log: Not a directory"), {}},
      // OpenAL Soft left to try every driver it has, as under a daemon: ALSA's complaints never
      // reach standard error, only our line (or nothing, on a machine with a sound output).
      {{"-window", "--size", "160x120", "--frames", "5"}, {{"ALSOFT_DRIVERS", ""}}, 0,
       MatchesRegex("(driftglass: No sound, the scene runs silently: OpenAL Soft found no output "
                    "through any of its drivers[^\n]*\n)?"), {}},
      {{"--help"}, {}, 0, Eq(""), {}, DRIFTGLASS_BINARY, HasSubstr("Exit status")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program + " " + c.arguments.front());
    std::filesystem::remove(logPath_);
    WriteConfig(kUsersOptions);
    auto saver = Start(c.arguments, c.environment, c.program);
    EXPECT_EQ(saver->WaitForExit(20s), c.status);
    EXPECT_THAT(saver->Stderr(), c.said);
    EXPECT_THAT(saver->Stdout(), c.printed);
    const auto lines = Log();
    auto at = lines.begin();
    for (const std::string& line : c.lines) {
      at = std::find_if(at, lines.end(),
                        [&](const std::string& l) { return l.rfind(line, 0) == 0; });
      EXPECT_NE(at, lines.end()) << line;
    }
    if (!c.lines.empty()) ExpectUninstalled();
    EXPECT_EQ(Config(), kUsersOptions);
  }
  x_.Destroy(window);
}

TEST_F(LinuxSaverTest, AFailureBoxIsSeenAndEndsWithItsAnswerOrSigterm) {
  const Environment oldGl = {{"MESA_GL_VERSION_OVERRIDE", "1.4"}};
  for (const char* mode : {"-window", "-s"}) {
    auto saver = Start({mode, "--size", "320x240"}, oldGl);
    const Window box = x_.WaitForWindowNamed("Screen saver", 20s);
    ASSERT_NE(box, 0u) << saver->Stderr();
    EXPECT_EQ(saver->Stderr(), "driftglass: Sorry, this application requires OpenGL 2.0\n");
    // Nothing of the saver hides the box, not even a full-screen window.
    if (const Window fullScreen = x_.FindWindowNamed("Screen Saver")) {
      XWindowAttributes attributes;
      XGetWindowAttributes(x_.Get(), fullScreen, &attributes);
      EXPECT_NE(attributes.map_state, IsViewable);
    }
    if (std::string(mode) == "-s") {
      saver->Signal(SIGTERM);  // the daemon or the session ending it
      EXPECT_EQ(saver->WaitForExit(1s), 128 + SIGTERM);
    } else {
      Answer(box);
      EXPECT_EQ(saver->WaitForExit(20s), 1);
    }
    ExpectUninstalled();
  }
}

TEST_F(LinuxSaverTest, EndedAtAnyMomentItStopsInTimeWithItsStatusAndLeavesItsOptionsWhole) {
  WriteConfig(kUsersOptions);
  // Ended by the daemon's SIGTERM, by its X server going away, or by the window it draws in
  // being destroyed (a preview's parent, the daemon's window), at every stage of its start
  // and once it runs. Before the program has set up its answer, SIGTERM ends it as it ends
  // any process; after, it shuts down in order and still ends by the signal, so the daemon
  // sees a normal end. A lost display or window is a failed start (1), for a preview a bad
  // command line (255), said in one line, unless the saver ends in order (0).
  enum Ending { kSigterm, kLostDisplay, kPreviewGone, kDaemonWindowGone };
  const std::map<Ending, std::set<int>> allowed = {{kSigterm, {128 + SIGTERM}},
                                                   {kLostDisplay, {1}},
                                                   {kPreviewGone, {0, 255}},
                                                   {kDaemonWindowGone, {0, 1}}};
  for (const auto& [ending, statuses] : allowed) {
    for (const std::string& stage : kStages) {
      SCOPED_TRACE(std::to_string(ending) + " at \"" + stage + "\"");
      std::optional<OwnXServer> server;
      if (ending == kLostDisplay) {
        server.emplace("/usr/bin/Xvfb", std::vector<std::string>{"-screen", "0", "640x480x24"});
      }
      ASSERT_TRUE(!server || server->Valid()) << "no X server of our own could start";
      const Window window = x_.MakeWindow();
      std::filesystem::remove(logPath_);
      auto saver = Start(ending == kPreviewGone
                             ? std::vector<std::string>{"--root", "--window-id", Hex(window)}
                             : std::vector<std::string>{"-root"},
                         server ? Environment{{"DISPLAY", server->Name()}}
                                : Environment{{"XSCREENSAVER_WINDOW", Hex(window)}});
      if (!stage.empty()) {
        ASSERT_TRUE(WaitForLine(logPath_, stage, 30s));
      }
      if (ending == kSigterm) saver->Signal(SIGTERM);
      if (server) server->Kill();
      if (ending == kPreviewGone || ending == kDaemonWindowGone) x_.Destroy(window);
      const auto status = saver->WaitForExit(ending == kSigterm ? 5s : 20s);
      ASSERT_TRUE(status.has_value()) << "still running";
      // Once it runs, it has its window: the window gone, it ends in order.
      const bool inOrder = stage == names::kReady && ending != kSigterm && ending != kLostDisplay;
      EXPECT_TRUE(inOrder ? *status == 0 : statuses.count(*status) == 1) << "status " << *status;
      const std::string said = saver->Stderr();
      const bool started = HasLineStarting(Log(), "   Notify : Start common initialization");
      if (*status == 0 || (ending == kSigterm && started)) ExpectUninstalled();
      if (*status != 0 && ending != kSigterm) {
        EXPECT_THAT(said, StartsWith("driftglass: "));
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
      }
      if (ending == kLostDisplay && stage == names::kReady) {
        EXPECT_EQ(said, "driftglass: the connection to the X display is lost\n");
        EXPECT_EQ(Log().back(), kLost);
      }
      EXPECT_EQ(Config(), kUsersOptions);
      x_.Destroy(window);
    }
  }
}

TEST_F(LinuxSaverTest, SigintInItsOwnWindowAndSigtermInTheDialogEndThemAtOnce) {
  WriteConfig(kUsersOptions);
  // Early in a start in a window of its own (SIGINT, as from a terminal), and while the
  // settings dialog is open. (The failure box has its own test.)
  auto starting = Start({"-window", "--size", "320x240"});
  ASSERT_TRUE(WaitForLine(logPath_, "   Notify : Application has run", 10s));
  starting->Signal(SIGINT);
  EXPECT_EQ(starting->WaitForExit(3s), 128 + SIGINT) << starting->Stderr();
  ExpectUninstalled();
  auto dialog = Start({"-c"});
  ASSERT_NE(x_.WaitForWindowNamed(names::kSettingsTitle, 20s), 0u) << dialog->Stderr();
  dialog->Signal(SIGTERM);
  EXPECT_EQ(dialog->WaitForExit(1s), 128 + SIGTERM);
  EXPECT_EQ(Config(), kUsersOptions);
}

}  // namespace
}  // namespace e2e

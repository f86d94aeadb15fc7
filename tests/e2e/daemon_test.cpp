// The installed hack under the real xscreensaver daemon, run as an ordinary user (the daemon
// refuses root) who adds it with the packaged driftglass-xscreensaver, without a sound device:
// blanking shows the scene, unblanking ends the hack in order, cycling leaves one instance.
// Needs root (to make the user) and both packages installed; tools/test.sh installs them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
// clang-format off
#include "support/x11_session.h"
// clang-format on
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/names.h"
#include "support/process.h"

namespace e2e {
namespace {

// A user of this run's own, so that runs side by side do not share one.
const std::string kUser = "dg-daemon-test-" + std::to_string(getpid());
const std::string kHome = "/home/" + kUser;
constexpr const char* kHack = "/usr/libexec/xscreensaver/driftglass";
const std::string kLog = kHome + "/.local/state" + names::kLinuxLog;

const char* const kNoSound = "(!)Error : No sound, the scene runs silently: OpenAL Soft ";

// The daemon's own settings, added to what driftglass-xscreensaver made: the first hack of
// the list (ours), no fading, no splash, no locking.
const char* const kDaemonSettings =
    "timeout:\t0:30:00\nlock:\t\tFalse\nfade:\t\tFalse\nunfade:\t\tFalse\nsplash:\t\tFalse\n"
    "dpmsEnabled:\tFalse\nmode:\t\tone\nselected:\t0\n";

int Shell(const std::string& command) {
  return std::system(command.c_str());
}

class XscreensaverDaemonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "making the test user needs root";
    if (!std::filesystem::exists("/usr/bin/xscreensaver") || !std::filesystem::exists(kHack)) {
      GTEST_SKIP() << "needs the xscreensaver and driftglass packages installed";
    }
    ASSERT_TRUE(x_.Valid());
    Shell("userdel -r " + kUser + " >/dev/null 2>&1");
    ASSERT_EQ(Shell("useradd -m -s /bin/sh " + kUser), 0);
    // The user may use the display through a copy of our X authority.
    if (const char* authority = std::getenv("XAUTHORITY")) {
      WriteUsersFile(".Xauthority", ReadFile(authority));
    }
  }
  void TearDown() override {
    if (geteuid() != 0) return;
    Shell("pkill -KILL -u " + kUser + " >/dev/null 2>&1");
    Shell("userdel -r " + kUser + " >/dev/null 2>&1");
  }

  void WriteUsersFile(const std::string& name, const std::string& text,
                      std::ios::openmode mode = std::ios::trunc) {
    const std::string path = kHome + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::out | mode) << text;
    Shell("chown " + kUser + ": " + path);
  }
  // Starts a program as the test user, on our display. There is no sound card here and
  // OpenAL is not told to play nowhere: the hack must run all the same.
  std::unique_ptr<Process> RunAsUser(std::vector<std::string> command) {
    const char* display = std::getenv("DISPLAY");
    std::vector<std::string> arguments = {"-u",
                                          kUser,
                                          "--",
                                          "env",
                                          std::string("DISPLAY=") + (display ? display : ":0"),
                                          "XAUTHORITY=" + kHome + "/.Xauthority",
                                          "HOME=" + kHome};
    arguments.insert(arguments.end(), command.begin(), command.end());
    return std::make_unique<Process>("/usr/sbin/runuser", arguments);
  }
  bool Command(const std::string& what) {
    auto command = RunAsUser({"xscreensaver-command", what});
    return command->WaitForExit(10s) == 0;
  }
  // The user's running hacks.
  std::vector<std::string> HackPids() {
    Process pgrep("/usr/bin/pgrep", {"-u", kUser, "-x", "driftglass"});
    pgrep.WaitForExit(5s);
    std::vector<std::string> pids;
    std::istringstream lines(pgrep.Stdout());
    for (std::string pid; std::getline(lines, pid);) pids.push_back(pid);
    return pids;
  }
  bool WaitForHacks(size_t count, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return HackPids().size() == count; }, timeout);
  }
  std::vector<std::string> Log() { return ReadLines(kLog); }

  X11Session x_;
};

TEST_F(XscreensaverDaemonTest, BlanksUnblanksAndCyclesWithTheInstalledHack) {
  // A new user has no ~/.xscreensaver: the packaged command makes it with ours in the list.
  auto add = RunAsUser({"driftglass-xscreensaver", "add"});
  ASSERT_EQ(add->WaitForExit(10s), 0) << add->Stderr();
  EXPECT_THAT(add->Stdout(), ::testing::HasSubstr("Added Driftglass #1"));
  WriteUsersFile(".xscreensaver", kDaemonSettings, std::ios::app);
  auto daemon = RunAsUser({"xscreensaver", "--no-splash", "--verbose"});
  ASSERT_TRUE(WaitUntil([&] { return Command("-time"); }, 10s)) << daemon->Stderr();

  // Blanking: the daemon starts the hack in its window, which covers the screen.
  ASSERT_TRUE(Command("-activate"));
  ASSERT_TRUE(WaitForLine(kLog, names::kReady, 30s)) << daemon->Stderr();
  const Picture screen = x_.CaptureScreen();
  // The first frame comes a moment after the ready line on a busy machine.
  EXPECT_TRUE(x_.WaitForSeascape(0, 0, screen.width, screen.height, 20s)) << "the daemon's window";

  // Unblanking: the daemon ends the hack with SIGTERM, and it ends in order.
  ASSERT_TRUE(Command("-deactivate"));
  ASSERT_TRUE(WaitForHacks(0, 10s)) << HackPids().size() << " hacks still run";
  std::vector<std::string> lines = Log();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], names::kUninstalled);
  EXPECT_TRUE(HasLineStarting(lines, kNoSound));

  // Cycling starts the next hack (here the same one) before the last has ended: one stays,
  // and its log is whole and without errors.
  ASSERT_TRUE(Command("-activate"));
  ASSERT_TRUE(WaitForLine(kLog, names::kReady, 30s));
  ASSERT_TRUE(WaitForHacks(1, 10s));
  const std::string first = HackPids().front();
  // The running hack keeps writing its file without the name; the next takes the name.
  std::filesystem::remove(kLog);
  ASSERT_TRUE(Command("-cycle"));
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto pids = HackPids();
        return pids.size() == 1 && pids.front() != first;
      },
      15s))
      << "the cycled hack did not take the first one's place";
  // The daemon (which stays up while cycling) sees the first end by the SIGTERM it sent.
  EXPECT_TRUE(WaitUntil(
      [&] {
        return daemon->Stderr().find("(driftglass) exited normally with SIGTERM") !=
               std::string::npos;
      },
      5s))
      << daemon->Stderr();
  EXPECT_THAT(daemon->Stderr(),
              ::testing::Not(::testing::HasSubstr("(driftglass) exited abnormally")));
  // The new one runs alone once its scene is up.
  ASSERT_TRUE(WaitForLine(kLog, names::kReady, 30s));
  EXPECT_EQ(HackPids().size(), 1u);
  lines = Log();
  EXPECT_EQ(lines.front(), "   Notify : Application has run");
  for (const std::string& line : lines) {
    EXPECT_TRUE(line.rfind(kNoSound, 0) == 0 || line.rfind("(!)", 0) != 0) << line;
  }

  ASSERT_TRUE(Command("-deactivate"));
  EXPECT_TRUE(WaitForHacks(0, 10s));
  ASSERT_TRUE(Command("-exit"));
  EXPECT_TRUE(daemon->WaitForExit(10s).has_value());
}

// The hack the daemon's "selected:" points at in a ~/.xscreensaver: the entries of the programs
// list end in a written "\n", and an entry may go on over several lines.
std::string ChosenHack(const std::string& settings) {
  std::istringstream lines(settings);
  std::string list, selected;
  bool inList = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("selected:", 0) == 0) selected = line.substr(9);
    if (line.rfind("programs:", 0) == 0) inList = true;
    if (inList) list += line;
    if (inList && (line.empty() || line.back() != '\\')) inList = false;
  }
  int index = std::stoi(selected);
  size_t start = list.find('\\') + 1;  // past the programs line
  for (; index > 0; --index) start = list.find("\\n", start) + 2;
  return list.substr(start, list.find("\\n", start) - start);
}

TEST(XscreensaverList, AddingAndRemovingOursKeepsTheHackTheUserChose) {
  const std::string script = DRIFTGLASS_SOURCE_DIR "/resources/linux/driftglass-xscreensaver";
  const std::string home = MakeTempFolder("xscreensaver-list"), file = home + "/.xscreensaver";
  const auto run = [&](const char* action) {
    Process command("/bin/sh", {script, action}, {{"HOME", home}});
    EXPECT_EQ(command.WaitForExit(10s), 0) << command.Stderr();
    return command.Stdout();
  };
  const std::string list =
      "programs:\t\t\t\t\t\t\t\t      \\\n"
      "\t\t     \"Qix (solid)\" \tqix -root -solid -segments 100\t\t    \\n\\\n"
      "  GL: \t\t\t\tbubble3d -root\t\t\t\t    \\n\\\n"
      "-\t\t\t\thelix -root\t\t\t\t    \\n\\\n"
      "  GL:\t\t\t\tgears -root -count 3 \\\n"
      "\t\t\t\t  -wireframe\t\t\t\t    \\n\\\n"
      "\t\t\t\tgreynetic -root\t\t\t\t    \\n\\\n"
      "\t\t\t\tattraction -root\t\t\t    \\n\n"
      "\npointerPollTime:  0:00:05\n";
  // The chosen hack before and after, by where "selected:" is in the file and how many
  // hacks come before it, the one over two lines among them.
  const struct {
    const char* settings;
    const char* chosen;
  } cases[] = {
      {"mode:\t\tone\nselected:\t2\n", "helix -root"},
      {"mode:\t\tone\nselected:\t0\n", "qix -root"},
      {"mode:\t\tone\nselected:\t4\n", "greynetic -root"},
      {"selected:\t5\nmode:\t\trandom\n", "attraction -root"},
  };
  for (const auto& c : cases) {
    const std::string original = std::string(c.settings) + list;
    std::ofstream(file, std::ios::binary) << original;
    run("add");
    const std::string added = ReadFile(file);
    EXPECT_THAT(added, ::testing::HasSubstr("driftglass --root"));
    EXPECT_THAT(ChosenHack(added), ::testing::HasSubstr(c.chosen)) << added;
    run("remove");
    EXPECT_EQ(ReadFile(file), original);
  }

  // Ours moved down the list, after the hack over two lines: only the ones after it move up.
  std::string moved = list;
  const std::string ours = "  GL: \"Driftglass #1\" driftglass --root \\n\\\n";
  moved.insert(moved.find("\t\t\t\tgreynetic"), ours);
  for (const auto& [before, after] : {std::pair{"5", "4"}, std::pair{"2", "2"}}) {
    std::ofstream(file, std::ios::binary) << "selected:\t" + std::string(before) + "\n" + moved;
    run("remove");
    EXPECT_EQ(ReadFile(file), "selected:\t" + std::string(after) + "\n" + list);
  }

  // A file without a choice gets none.
  std::ofstream(file, std::ios::binary) << "mode:\t\trandom\n" + list;
  run("add");
  EXPECT_THAT(ReadFile(file), ::testing::Not(::testing::HasSubstr("selected:")));

  // Ours chosen alone and removed: the daemon goes back to a random hack, and says so.
  std::ofstream(file, std::ios::binary) << "mode:\t\tone\nselected:\t0\n" + list;
  run("add");
  std::string settings = ReadFile(file);
  EXPECT_THAT(ChosenHack(settings), ::testing::HasSubstr("qix -root"));
  settings.replace(settings.find("selected:\t1"), 11, "selected:\t0");
  std::ofstream(file, std::ios::binary) << settings;
  EXPECT_THAT(run("remove"), ::testing::HasSubstr("xscreensaver now shows a random hack"));
  EXPECT_EQ(ReadFile(file), "mode:\t\trandom\nselected:\t-1\n" + list);
}

}  // namespace
}  // namespace e2e

// The screen-saver argument text, the Linux command line built around it, and the window
// each of its run modes draws in.
#include <gtest/gtest.h>

#include "host/command_line.h"
#include "host/window_plan.h"

namespace driftglass {
namespace {

TEST(SaverArguments, ModesFromTheArgumentText) {
  const struct {
    const char* text;
    RunMode mode;
    uint32_t window;
  } cases[] = {
      // clang-format off
      {"/s", RunMode::FullScreen, 0}, {"  -S extra", RunMode::FullScreen, 0},
      {"/P   99", RunMode::Preview, 99}, {"-l 7", RunMode::Preview, 7},
      {"/p", RunMode::Invalid, 0}, {"/p abc", RunMode::Invalid, 0},
      {"/c:1234", RunMode::Settings, 1234}, {"/c 1234", RunMode::Settings, 0},
      {"", RunMode::Settings, 0}, {" -/ ", RunMode::Settings, 0},
      {"/a 55", RunMode::ChangePassword, 55}, {"/x", RunMode::Invalid, 0},
      // A window number that does not fit in 32 bits is no window, not a wrapped one.
      {"/p 4294967295", RunMode::Preview, 4294967295u}, {"/p 4294967296", RunMode::Invalid, 0},
      {"/p 12ab", RunMode::Preview, 12},
      // clang-format on
  };
  for (const auto& c : cases) {
    const CommandLine command = SaverCommandLine(c.text);
    EXPECT_EQ(command.mode, c.mode) << "'" << c.text << "'";
    EXPECT_EQ(command.window, c.window) << "'" << c.text << "'";
    EXPECT_EQ(command.error.empty(), c.mode != RunMode::Invalid) << "'" << c.text << "'";
  }
}

TEST(SaverArguments, WindowsCommandLinesLoseTheProgramAndItsBlanks) {
  const struct {
    const wchar_t* line;
    const char* arguments;
  } cases[] = {
      {L"\"C:\\Program Files\\Driftglass.scr\" /p 1234", "/p 1234"},
      {L"C:\\WINDOWS\\DRIFTG~1.SCR\t  /s", "/s"},
      {L"\"unclosed quote /s", ""},
      {L"Driftglass.scr", ""}, {L"", ""}, {L"\"x.scr\"\t\t/s", "/s"},
      {L"\"a b.scr\"/c:7", "/c:7"},
      {L"x.scr /c:\u00e9", "/c:?"},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentsAfterProgram(c.line), c.arguments) << c.arguments;
}

TEST(CommandLine, XscreensaverOptionsScreenSaverFormsAndDiagnostics) {
  auto parse = [](std::vector<std::string> arguments) { return ParseCommandLine(arguments); };
  EXPECT_EQ(parse({}).mode, RunMode::OwnWindow);
  EXPECT_EQ(parse({"--root"}).mode, RunMode::Root);
  const CommandLine preview = parse({"--root", "--window-id", "0x2a00007"});
  EXPECT_EQ(preview.mode, RunMode::Preview);  // the window id wins over --root
  EXPECT_EQ(preview.window, 0x2a00007u);
  EXPECT_TRUE(parse({"-root", "-fps"}).showFrameRate);
  EXPECT_EQ(parse({"-P", "12"}).window, 12u);
  EXPECT_EQ(parse({"-C:14"}).window, 14u);
  EXPECT_EQ(parse({"--settings"}).mode, RunMode::Settings);
  EXPECT_EQ(parse({"-A"}).mode, RunMode::ChangePassword);
  EXPECT_EQ(parse({"-version"}).mode, RunMode::Version);
  const CommandLine c = parse({"/s", "--seed", "0", "--fixed-step", "16", "--frames", "120",
                               "--snapshot", "out.png", "--size", "640x480"});
  EXPECT_EQ(c.mode, RunMode::FullScreen);
  EXPECT_EQ(c.seed, 0u);
  EXPECT_EQ(c.fixedStepMs, 16u);
  EXPECT_EQ(c.frames, 120u);
  EXPECT_EQ(c.width, 640);
}

TEST(CommandLine, SoundAndTheFrameDelayAsTheDaemonPassesThem) {
  const struct {
    std::vector<std::string> arguments;
    std::optional<bool> sound;
    uint32_t delayUs;
  } cases[] = {
      {{"-root"}, std::nullopt, 25000},  // the slider's default: none passed
      {{"-root", "-delay", "0"}, std::nullopt, 0},
      {{"--root", "--delay", "100000"}, std::nullopt, 100000},
      {{"-no-sound", "-delay", "20000"}, false, 20000},
      {{"--no-sound", "--sound"}, true, 25000},   // the last word counts
      {{"--fixed-step", "16"}, std::nullopt, 0},  // a diagnostic run goes as fast as it can
      {{"--fixed-step", "16", "-delay", "5"}, std::nullopt, 5},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    ASSERT_NE(line.mode, RunMode::Invalid) << line.error;
    EXPECT_EQ(line.playSound, c.sound) << c.arguments.back();
    EXPECT_EQ(FrameDelayUs(line), c.delayUs) << c.arguments.back();
  }
}

TEST(CommandLine, BadInputGetsAOneLineReason) {
  // Words that merely start like a screen-saver letter are not one ("-sounds" on).
  // clang-format off
  const std::vector<std::vector<std::string>> bad = {
      {"/x"}, {"--bogus"}, {"/p", "0"}, {"-window-id", "0x100000001"}, {"-window-id", "zz"},
      {"--seed", "-1"}, {"--frames", "0"}, {"--size", "0x10"}, {"--snapshot", "x.png"},
      {"-root", "/s"}, {"-sounds"}, {"-delay"}, {"-delay", "-5"}, {"--delay", "10000001"},
      {"-seeds", "5"}, {"-colors"}, {"/sx"}, {""}, {"-"}, {"/"}, {"/s", "/c"}};
  // clang-format on
  for (const auto& arguments : bad) {
    const CommandLine c = ParseCommandLine(arguments);
    EXPECT_EQ(c.mode, RunMode::Invalid) << "'" << arguments[0] << "'";
    EXPECT_FALSE(c.error.empty());
    EXPECT_EQ(c.error.find('\n'), std::string::npos);
  }
}

TEST(WindowPlan, EachModeDrawsWhereItShouldAndOnlyTheUsersOwnRunsMayShowABox) {
  const struct {
    std::vector<std::string> arguments;
    WindowPlace place;
    WindowInput input;
    const char* title;
    bool box;
    int missing, width, height;
  } cases[] = {
      {{"-root"}, WindowPlace::Given, WindowInput::Ignored, "", false, 1, 1024, 768},
      {{"-window-id", "0x2a"}, WindowPlace::InParent, WindowInput::Ignored, "Preview", false, -1,
       1024, 768},
      {{"-s"}, WindowPlace::OverScreen, WindowInput::SaverRules, "Screen Saver", true, 1, 1024,
       768},
      {{}, WindowPlace::OwnWindow, WindowInput::Escape, "Driftglass #1", true, 1, 1024, 768},
      {{"-window", "--size", "320x240"}, WindowPlace::OwnWindow, WindowInput::Escape,
       "Driftglass #1", true, 1, 320, 240},
  };
  for (const auto& c : cases) {
    const WindowPlan plan = PlanWindow(ParseCommandLine(c.arguments));
    SCOPED_TRACE(c.title);
    EXPECT_EQ(plan.place, c.place);
    EXPECT_EQ(plan.input, c.input);
    EXPECT_EQ(plan.title, c.title);
    EXPECT_EQ(plan.mayShowBox, c.box);
    EXPECT_EQ(plan.missingWindowStatus, c.missing);
    EXPECT_EQ(plan.width, c.width);
    EXPECT_EQ(plan.height, c.height);
    EXPECT_EQ(plan.parent, c.place == WindowPlace::InParent ? 42u : 0u);
  }
}

}  // namespace
}  // namespace driftglass

// The screen-saver argument text and the Linux command line built around it.
#include <gtest/gtest.h>

#include "host/command_line.h"
#include "host/saver_arguments.h"

namespace driftglass {
namespace {

TEST(SaverArguments, ModesFromTheArgumentText) {
  struct Case {
    const char* text;
    SaverMode mode;
    uint32_t window;
  } cases[] = {
      {"/s", SaverMode::FullScreen, 0},
      {"-S", SaverMode::FullScreen, 0},
      {"  /s extra", SaverMode::FullScreen, 0},
      {"/p 1234", SaverMode::Preview, 1234},
      {"/P   99", SaverMode::Preview, 99},
      {"-l 7", SaverMode::Preview, 7},
      {"/p", SaverMode::Invalid, 0},
      {"/p 0", SaverMode::Invalid, 0},
      {"/p abc", SaverMode::Invalid, 0},
      {"/c:1234", SaverMode::Settings, 1234},
      {"/c 1234", SaverMode::Settings, 0},
      {"/C", SaverMode::Settings, 0},
      {"", SaverMode::Settings, 0},
      {" -/ ", SaverMode::Settings, 0},
      {"/a 55", SaverMode::ChangePassword, 55},
      {"/x", SaverMode::Invalid, 0},
      {"s", SaverMode::FullScreen, 0},
  };
  for (const Case& c : cases) {
    const SaverCommand command = ParseSaverArguments(c.text);
    EXPECT_EQ(command.mode, c.mode) << "'" << c.text << "'";
    EXPECT_EQ(command.window, c.window) << "'" << c.text << "'";
  }
}

TEST(SaverArguments, WindowNumbersAreDecimalAndMustFitIn32Bits) {
  EXPECT_EQ(ParseWindowNumber("4294967295"), 4294967295u);
  EXPECT_EQ(ParseWindowNumber("4294967296"), 0u);  // not wrapped to 0 + something
  EXPECT_EQ(ParseWindowNumber("99999999999999999999999"), 0u);
  EXPECT_EQ(ParseWindowNumber("12ab"), 12u);
  EXPECT_EQ(ParseWindowNumber("0x10"), 0u);
  EXPECT_EQ(ParseSaverArguments("/p 4294967296").mode, SaverMode::Invalid);
}

CommandLine Parse(std::vector<std::string> arguments) {
  return ParseCommandLine(arguments);
}

TEST(CommandLine, XscreensaverOptionsWithOneOrTwoDashes) {
  EXPECT_EQ(Parse({}).mode, RunMode::OwnWindow);
  EXPECT_EQ(Parse({"-window"}).mode, RunMode::OwnWindow);
  EXPECT_EQ(Parse({"--root"}).mode, RunMode::Root);
  EXPECT_EQ(Parse({"-root"}).mode, RunMode::Root);
  const CommandLine preview = Parse({"--root", "--window-id", "0x2a00007"});
  EXPECT_EQ(preview.mode, RunMode::Preview);  // the window id wins over --root
  EXPECT_EQ(preview.window, 0x2a00007u);
  EXPECT_EQ(Parse({"-window-id", "1234"}).window, 1234u);
  EXPECT_TRUE(Parse({"-root", "-fps"}).showFrameRate);
  EXPECT_EQ(Parse({"-s"}).mode, RunMode::FullScreen);
  EXPECT_EQ(Parse({"/S"}).mode, RunMode::FullScreen);
  EXPECT_EQ(Parse({"/p", "77"}).window, 77u);
  EXPECT_EQ(Parse({"-c"}).mode, RunMode::Settings);
  EXPECT_EQ(Parse({"--settings"}).mode, RunMode::Settings);
  EXPECT_EQ(Parse({"/c:12"}).window, 12u);
  EXPECT_EQ(Parse({"--help"}).mode, RunMode::Help);
  EXPECT_EQ(Parse({"-version"}).mode, RunMode::Version);
  EXPECT_EQ(Parse({"/a"}).mode, RunMode::ChangePassword);
  // The screen-saver forms, with either prefix and in any case.
  EXPECT_EQ(Parse({"-P", "12"}).window, 12u);
  EXPECT_EQ(Parse({"/l", "13"}).mode, RunMode::Preview);
  EXPECT_EQ(Parse({"-C:14"}).window, 14u);
  EXPECT_EQ(Parse({"-A"}).mode, RunMode::ChangePassword);
}

TEST(CommandLine, DiagnosticOptions) {
  const CommandLine c = Parse({"-window", "--seed", "0", "--fixed-step", "16", "--frames", "120",
                               "--snapshot", "out.png", "--size", "640x480"});
  EXPECT_EQ(c.mode, RunMode::OwnWindow);
  EXPECT_EQ(c.seed, 0u);
  EXPECT_EQ(c.fixedStepMs, 16u);
  EXPECT_EQ(c.frames, 120u);
  EXPECT_EQ(c.snapshotPath, "out.png");
  EXPECT_EQ(c.width, 640);
  EXPECT_EQ(c.height, 480);
  // Diagnostics combine with the screen-saver text.
  EXPECT_EQ(Parse({"/s", "--frames", "3"}).mode, RunMode::FullScreen);
}

TEST(CommandLine, BadInputGetsAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"/x"},
      {"-x"},
      {"--bogus"},
      {"/p"},
      {"/p", "0"},
      {"/p", "4294967296"},
      {"-window-id"},
      {"-window-id", "0x100000000"},
      {"-window-id", "zz"},
      {"--seed", "-1"},
      {"--frames", "0"},
      {"--size", "640"},
      {"--size", "0x10"},
      {"--snapshot"},
      {"--snapshot", "x.png"},
      {"-root", "/s"},
      {"--fixed-step", "x"},
      // Words that merely start like a screen-saver letter are not one.
      {"-sound"},
      {"-seeds", "5"},
      {"-colors"},
      {"/sx"},
      {""},
      {"-"},
      {"/"},
      {"/s", "/c"},
      {"-s", "extra"},
  };
  for (const auto& arguments : bad) {
    const CommandLine c = ParseCommandLine(arguments);
    EXPECT_EQ(c.mode, RunMode::Invalid) << arguments[0];
    EXPECT_FALSE(c.error.empty()) << arguments[0];
    EXPECT_EQ(c.error.find('\n'), std::string::npos);
  }
  EXPECT_EQ(ParseWindowId("0xffffffff"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseWindowId("0x"), 0u);
}

}  // namespace
}  // namespace driftglass

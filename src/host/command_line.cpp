// Reading the Linux command line into one run request.
#include "host/command_line.h"

#include <cctype>
#include <string_view>

#include "host/number_text.h"
#include "host/saver_arguments.h"

namespace driftglass {
namespace {

// "-name" or "--name" -> "name"; anything else -> empty.
std::string OptionName(const std::string& argument) {
  if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) return argument.substr(2);
  if (argument.size() > 1 && argument[0] == '-') return argument.substr(1);
  return {};
}

// The screen-saver forms: "/s", "-s", "/c", "/c:N", "/a" and the preview letters "/p" and "/l"
// (which take the next word as the window), any case. Nothing else is read as one: an
// unknown option must not start the saver because of its first letter.
bool IsSaverWord(const std::string& argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return false;
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(argument[1])));
  if (argument.size() == 2) return std::string_view("spcla").find(letter) != std::string::npos;
  return letter == 'c' && argument[2] == ':';
}

bool TakesWindow(const std::string& saverWord) {
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(saverWord[1])));
  return letter == 'p' || letter == 'l';
}

CommandLine Invalid(std::string reason) {
  CommandLine result;
  result.mode = RunMode::Invalid;
  result.error = std::move(reason);
  return result;
}

}  // namespace

uint32_t ParseWindowId(const std::string& text) {
  std::string_view digits = text;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  const LeadingDigits read = ReadLeadingDigits(digits, base);
  if (read.length == 0 || read.length != digits.size() || read.value > 0xFFFFFFFFu) return 0;
  return static_cast<uint32_t>(read.value);
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine result;
  bool root = false;
  bool ownWindow = false;
  bool windowIdGiven = false;
  std::string saverText;  // the screen-saver form, if one was given

  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = OptionName(argument);
    const bool hasValue = i + 1 < arguments.size();
    auto number = [&](uint64_t limit) -> std::optional<uint64_t> {
      if (!hasValue) return std::nullopt;
      return ParseWholeNumber(arguments[++i], limit);
    };
    if (name == "help" || name == "h") {
      result.mode = RunMode::Help;
      return result;
    } else if (name == "version") {
      result.mode = RunMode::Version;
      return result;
    } else if (name == "root") {
      root = true;
    } else if (name == "window") {
      ownWindow = true;
    } else if (name == "window-id") {
      if (!hasValue) return Invalid("-window-id needs a window id");
      const std::string& value = arguments[++i];
      result.window = ParseWindowId(value);
      if (result.window == 0) return Invalid("invalid window id '" + value + "'");
      windowIdGiven = true;
    } else if (name == "fps") {
      result.showFrameRate = true;
    } else if (name == "sound" || name == "no-sound") {
      result.playSound = name == "sound";
    } else if (name == "delay") {
      const auto delay = number(kLongestFrameDelayUs);
      if (!delay) return Invalid("--delay needs microseconds from 0 to 10000000");
      result.frameDelayUs = static_cast<uint32_t>(*delay);
    } else if (name == "settings") {
      if (!saverText.empty()) return Invalid("more than one mode given");
      saverText = "/c";
    } else if (name == "seed") {
      const auto seed = number(0xFFFFFFFFu);
      if (!seed) return Invalid("--seed needs a number from 0 to 4294967295");
      result.seed = static_cast<uint32_t>(*seed);
    } else if (name == "fixed-step") {
      const auto step = number(60000);
      if (!step) return Invalid("--fixed-step needs milliseconds from 0 to 60000");
      result.fixedStepMs = static_cast<uint32_t>(*step);
    } else if (name == "frames") {
      const auto frames = number(1000000000);
      if (!frames || *frames == 0)
        return Invalid("--frames needs a number of frames from 1 to 1000000000");
      result.frames = *frames;
    } else if (name == "snapshot") {
      if (!hasValue || arguments[i + 1].empty()) return Invalid("--snapshot needs a file name");
      result.snapshotPath = arguments[++i];
    } else if (name == "size") {
      const std::string value = hasValue ? arguments[i + 1] : "";
      const size_t x = value.find('x');
      const auto width = ParseWholeNumber(std::string_view(value).substr(0, x), 16384);
      const auto height = x == std::string::npos
                              ? std::nullopt
                              : ParseWholeNumber(std::string_view(value).substr(x + 1), 16384);
      if (!width || !height || *width == 0 || *height == 0)
        return Invalid("--size needs WIDTHxHEIGHT, for example 1024x768");
      ++i;
      result.width = static_cast<int>(*width);
      result.height = static_cast<int>(*height);
    } else if (IsSaverWord(argument)) {
      if (!saverText.empty()) return Invalid("more than one mode given");
      saverText = argument;
      if (TakesWindow(argument) && hasValue) saverText += " " + arguments[++i];
    } else {
      return Invalid("unknown option '" + argument + "'");
    }
  }

  if (!result.snapshotPath.empty() && result.frames == 0)
    return Invalid("--snapshot needs --frames: the picture is of the last frame");

  // xscreensaver's settings preview passes both -root and -window-id: the window id wins.
  if (windowIdGiven) {
    result.mode = RunMode::Preview;
  } else if (root) {
    result.mode = RunMode::Root;
  } else if (ownWindow || saverText.empty()) {
    result.mode = RunMode::OwnWindow;
  }
  if (saverText.empty()) return result;
  if (windowIdGiven || root || ownWindow) return Invalid("unexpected argument '" + saverText + "'");

  const CommandLine saver = SaverCommandLine(saverText);
  if (saver.mode == RunMode::Invalid) return saver;
  result.mode = saver.mode;
  result.window = saver.window;
  return result;
}

CommandLine SaverCommandLine(std::string_view text) {
  const SaverCommand command = ParseSaverArguments(text);
  CommandLine result;
  result.window = command.window;
  switch (command.mode) {
    case SaverMode::FullScreen:
      result.mode = RunMode::FullScreen;
      break;
    case SaverMode::Preview:
      result.mode = RunMode::Preview;
      break;
    case SaverMode::Settings:
      result.mode = RunMode::Settings;
      break;
    case SaverMode::ChangePassword:
      result.mode = RunMode::ChangePassword;
      break;
    case SaverMode::Invalid:
      return Invalid("invalid argument '" + std::string(text) + "'");
  }
  return result;
}

std::string ArgumentsAfterProgram(std::wstring_view commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    at = commandLine.find(L'"', 1);
    at = at == std::wstring_view::npos ? commandLine.size() : at + 1;
  } else {
    while (at < commandLine.size() && commandLine[at] > 32) ++at;
  }
  while (at < commandLine.size() && commandLine[at] <= 32) ++at;
  std::string arguments;
  for (; at < commandLine.size(); ++at) {
    const wchar_t c = commandLine[at];
    arguments += static_cast<uint32_t>(c) < 128 ? static_cast<char>(c) : '?';
  }
  return arguments;
}

uint32_t FrameDelayUs(const CommandLine& commandLine) {
  if (commandLine.frameDelayUs) return *commandLine.frameDelayUs;
  return commandLine.fixedStepMs ? 0 : kDefaultFrameDelayUs;
}

const char* UsageText() {
  return "Usage: driftglass [MODE] [OPTIONS]\n"
         "Driftglass #1: a painted seascape with flowers and a winged creature.\n"
         "\n"
         "Modes:\n"
         "  (none), -window     run in a window of its own (Escape or closing it ends it)\n"
         "  -s, /s              full screen; a key, a click or moving the mouse ends it\n"
         "  /p N, -window-id N  preview inside the X window N (decimal, or 0x hexadecimal)\n"
         "  -root               draw into $XSCREENSAVER_WINDOW or the root window\n"
         "  -c, /c, --settings  open the settings dialog\n"
         "\n"
         "Options:\n"
         "  -fps                show the frame rate in the top-left corner\n"
         "  -delay MICROSECONDS pause after each frame (default 25000; 0 runs as fast as\n"
         "                      the display allows)\n"
         "  -sound, -no-sound   play the sea and the wings, or run silently (default: the\n"
         "                      stored option EnableSound, 1)\n"
         "  --seed N            seed the random source with N instead of the time\n"
         "  --fixed-step MS     advance every frame by MS milliseconds\n"
         "  --frames N          stop after N frames\n"
         "  --snapshot FILE     write the last of the --frames to FILE as PNG\n"
         "  --size WxH          size of the own window (default 1024x768)\n"
         "  --help, --version   print this help or the version and exit\n"
         "\n"
         "xscreensaver's options are accepted with one or two dashes.\n"
         "\n"
         "Exit status: 0 when the saver ran and was ended (or another full-screen saver\n"
         "already runs), 1 when it could not start (no display, no window, no OpenGL 2.0,\n"
         "a damaged resource) or lost its display, 255 for a bad command line. The\n"
         "settings dialog ends with 1 once closed, and 255 when it cannot open. Ended by\n"
         "SIGTERM or SIGINT, it shuts down in order and then ends by that signal.\n"
         "The log is written to $XDG_STATE_HOME/driftglass/driftglass.log and the settings\n"
         "to $XDG_CONFIG_HOME/driftglass/driftglass.conf.\n";
}

}  // namespace driftglass

// Reading the Linux command line into one run request.
#include "host/command_line.h"

#include <cstdlib>
#include <string_view>

#include "host/saver_arguments.h"

namespace driftglass {
namespace {

// "-name" or "--name" -> "name"; anything else -> empty.
std::string OptionName(const std::string& argument) {
  if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) return argument.substr(2);
  if (argument.size() > 1 && argument[0] == '-') return argument.substr(1);
  return {};
}

bool ParseUnsigned(const std::string& text, uint64_t limit, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return false;
  }
  return true;
}

CommandLine Invalid(std::string reason) {
  CommandLine result;
  result.mode = RunMode::Invalid;
  result.error = std::move(reason);
  return result;
}

}  // namespace

uint32_t ParseWindowId(const std::string& text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      const char c = text[i];
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return 0;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<uint32_t>(value);
  }
  uint64_t value = 0;
  return ParseUnsigned(text, 0xFFFFFFFFu, value) ? static_cast<uint32_t>(value) : 0;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine result;
  bool root = false;
  bool ownWindow = false;
  bool windowIdGiven = false;
  std::string saverText;  // whatever is not one of our named options

  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = OptionName(argument);
    const bool hasValue = i + 1 < arguments.size();
    auto needValue = [&](std::string& value) {
      if (!hasValue) return false;
      value = arguments[++i];
      return true;
    };
    std::string value;
    uint64_t number = 0;
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
      if (!needValue(value)) return Invalid("-window-id needs a window id");
      result.window = ParseWindowId(value);
      if (result.window == 0) return Invalid("invalid window id '" + value + "'");
      windowIdGiven = true;
    } else if (name == "fps") {
      result.showFrameRate = true;
    } else if (name == "settings") {
      saverText += " /c";
    } else if (name == "seed") {
      if (!needValue(value) || !ParseUnsigned(value, 0xFFFFFFFFu, number))
        return Invalid("--seed needs a number from 0 to 4294967295");
      result.seed = static_cast<uint32_t>(number);
    } else if (name == "fixed-step") {
      if (!needValue(value) || !ParseUnsigned(value, 60000, number))
        return Invalid("--fixed-step needs milliseconds from 0 to 60000");
      result.fixedStepMs = static_cast<uint32_t>(number);
    } else if (name == "frames") {
      if (!needValue(value) || !ParseUnsigned(value, 1000000000, number) || number == 0)
        return Invalid("--frames needs a number of frames from 1 to 1000000000");
      result.frames = number;
    } else if (name == "snapshot") {
      if (!needValue(value) || value.empty()) return Invalid("--snapshot needs a file name");
      result.snapshotPath = value;
    } else if (name == "size") {
      uint64_t width = 0;
      uint64_t height = 0;
      const size_t x = hasValue ? arguments[i + 1].find('x') : std::string::npos;
      if (x == std::string::npos || !ParseUnsigned(arguments[i + 1].substr(0, x), 16384, width) ||
          !ParseUnsigned(arguments[i + 1].substr(x + 1), 16384, height) || width == 0 ||
          height == 0)
        return Invalid("--size needs WIDTHxHEIGHT, for example 1024x768");
      ++i;
      result.width = static_cast<int>(width);
      result.height = static_cast<int>(height);
    } else if (argument.compare(0, 2, "--") == 0) {
      return Invalid("unknown option '" + argument + "'");
    } else {
      saverText += ' ';
      saverText += argument;
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
  if (windowIdGiven || root || ownWindow)
    return Invalid("unexpected argument '" + saverText.substr(1) + "'");

  const SaverCommand command = ParseSaverArguments(saverText);
  switch (command.mode) {
    case SaverMode::FullScreen:
      result.mode = RunMode::FullScreen;
      break;
    case SaverMode::Preview:
      result.mode = RunMode::Preview;
      result.window = command.window;
      break;
    case SaverMode::Settings:
      result.mode = RunMode::Settings;
      result.window = command.window;
      break;
    case SaverMode::ChangePassword:
      result.mode = RunMode::ChangePassword;
      result.window = command.window;
      break;
    case SaverMode::Invalid:
      return Invalid("invalid argument '" + saverText.substr(1) + "'");
  }
  return result;
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
         "  --seed N            seed the random source with N instead of the time\n"
         "  --fixed-step MS     advance every frame by MS milliseconds\n"
         "  --frames N          stop after N frames\n"
         "  --snapshot FILE     write the last of the --frames to FILE as PNG\n"
         "  --size WxH          size of the own window (default 1024x768)\n"
         "  --help, --version   print this help or the version and exit\n"
         "\n"
         "xscreensaver's options are accepted with one or two dashes.\n"
         "The log is written to $XDG_STATE_HOME/driftglass/driftglass.log and the settings\n"
         "to $XDG_CONFIG_HOME/driftglass/driftglass.conf.\n";
}

}  // namespace driftglass

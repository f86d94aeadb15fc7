// The Linux program's command line: the screen-saver argument text ("/s", "/p N", "/c"),
// the options xscreensaver passes to its hacks (one or two dashes), and the diagnostic
// options for tests and benchmarks. Pure; read by the window thread before anything runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driftglass {

enum class RunMode {
  OwnWindow,       // no argument, or -window
  FullScreen,      // /s, -s
  Preview,         // /p N, -window-id N
  Root,            // -root: $XSCREENSAVER_WINDOW or the root window
  Settings,        // /c, -c, --settings
  ChangePassword,  // /a: only on the old Windows family
  Help,
  Version,
  Invalid,
};

// The pause after each frame when none is given, in microseconds: what the "Frame rate"
// slider of xscreensaver's settings shows until it is moved (about 30 frames a second).
inline constexpr uint32_t kDefaultFrameDelayUs = 25000;
inline constexpr uint32_t kLongestFrameDelayUs = 10000000;

struct CommandLine {
  RunMode mode = RunMode::OwnWindow;
  uint32_t window = 0;  // preview parent, or the settings owner
  bool showFrameRate = false;
  std::optional<bool> playSound{};         // --sound / --no-sound; else the stored option
  std::optional<uint32_t> frameDelayUs{};  // --delay; else the default (none in fixed steps)
  std::optional<uint32_t> seed{};
  std::optional<uint32_t> fixedStepMs{};
  uint64_t frames = 0;
  std::string snapshotPath{};
  int width = 0;  // 0: the mode's own size
  int height = 0;
  std::string error{};  // one line, when mode is Invalid
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The screen-saver argument text alone, as Windows passes it ("/s", "/p 1234", "/c:1234"):
// its mode and window, or Invalid with the reason.
CommandLine SaverCommandLine(std::string_view text);

// The arguments of a Windows command line: what follows the program's name (quoted or not)
// and the blanks after it, each character outside ASCII read as '?'.
std::string ArgumentsAfterProgram(std::wstring_view commandLine);

// The pause after each frame that `commandLine` asks for: the one given, none for a run in
// fixed steps (drawn as fast as it goes), else the default.
uint32_t FrameDelayUs(const CommandLine& commandLine);

// A window id as xscreensaver writes it: decimal, or hexadecimal after "0x". 0 when the text
// is not a number or does not fit in 32 bits.
uint32_t ParseWindowId(const std::string& text);

// The text of --help.
const char* UsageText();

}  // namespace driftglass

// The screen-saver argument text ("/s", "/p 1234", "/c:1234", ...) as a pure function, so
// both programs and the tests share one reading of it. Window thread, before any window.
#pragma once

#include <cstdint>
#include <string_view>

namespace driftglass {

enum class SaverMode { FullScreen, Preview, Settings, ChangePassword, Invalid };

struct SaverCommand {
  SaverMode mode = SaverMode::Invalid;
  // Preview: the parent window. Settings and password change: the owner, 0 when none given.
  uint32_t window = 0;
};

// Decimal digits from the start of `text`; stops at the first other character. A number that
// does not fit in 32 bits is no window at all and reads as 0.
uint32_t ParseWindowNumber(std::string_view text);

// The mode the argument text asks for. Checking that a named window exists is the caller's.
SaverCommand ParseSaverArguments(std::string_view text);

}  // namespace driftglass

// Reading the screen-saver argument text.
#include "host/saver_arguments.h"

#include "host/number_text.h"

namespace driftglass {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

uint32_t ParseWindowNumber(std::string_view text) {
  const LeadingDigits digits = ReadLeadingDigits(text);
  return digits.value > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(digits.value);
}

SaverCommand ParseSaverArguments(std::string_view text) {
  for (size_t i = 0;; ++i) {
    if (i == text.size()) return {SaverMode::Settings, 0};
    const char c = text[i];
    if (IsBlank(c) || c == '-' || c == '/') continue;
    switch (c) {
      case 'S':
      case 's':
        return {SaverMode::FullScreen, 0};
      case 'P':
      case 'p':
      case 'L':
      case 'l': {
        const uint32_t window = ParseWindowNumber(SkipBlanks(text.substr(i + 1)));
        if (window == 0) return {SaverMode::Invalid, 0};
        return {SaverMode::Preview, window};
      }
      case 'C':
      case 'c': {
        uint32_t owner = 0;
        if (i + 1 < text.size() && text[i + 1] == ':')
          owner = ParseWindowNumber(text.substr(i + 2));
        return {SaverMode::Settings, owner};
      }
      case 'A':
      case 'a':
        return {SaverMode::ChangePassword, ParseWindowNumber(SkipBlanks(text.substr(i + 1)))};
      default:
        return {SaverMode::Invalid, 0};
    }
  }
}

}  // namespace driftglass

// Reading numbers out of text that others wrote: the command line, window ids and the stored
// options all go through here, so they agree on what a number is. Pure functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace driftglass {

// The unsigned number written by the digits at the start of `text` in `base` (10 or 16).
struct LeadingDigits {
  uint64_t value = 0;   // saturated at the largest uint64_t when it does not fit
  size_t length = 0;    // how many digits were read; 0 when the text does not start with one
  bool tooBig = false;  // the digits do not fit in 64 bits
};
LeadingDigits ReadLeadingDigits(std::string_view text, int base = 10);

// The whole of `text` as a decimal number no larger than `limit`; nothing for an empty text,
// any other character, or a larger number.
std::optional<uint64_t> ParseWholeNumber(std::string_view text, uint64_t limit);

}  // namespace driftglass

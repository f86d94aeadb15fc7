// Digits read with std::from_chars.
#include "host/number_text.h"

#include <charconv>
#include <limits>

namespace driftglass {

LeadingDigits ReadLeadingDigits(std::string_view text, int base) {
  LeadingDigits digits;
  const char* begin = text.data();
  const char* end = begin + text.size();
  // from_chars would take a leading '-' for a negative number: only digits count here.
  if (text.empty() || text.front() == '-' || text.front() == '+') return digits;
  const auto [stop, error] = std::from_chars(begin, end, digits.value, base);
  digits.length = static_cast<size_t>(stop - begin);
  if (error == std::errc::result_out_of_range) {
    digits.tooBig = true;
    digits.value = std::numeric_limits<uint64_t>::max();
  }
  return digits;
}

std::optional<uint64_t> ParseWholeNumber(std::string_view text, uint64_t limit) {
  const LeadingDigits digits = ReadLeadingDigits(text);
  if (digits.length == 0 || digits.length != text.size() || digits.value > limit) return {};
  return digits.value;
}

}  // namespace driftglass

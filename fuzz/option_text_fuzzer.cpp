// Fuzz target: option text written by anyone. The key-file reading and writing may refuse
// the text but never crash, and what they write reads back; the two kinds of stored value
// read any text, and what they write reads back to the same value.
#include <cstdint>
#include <string>

#include "host/stored_options.h"
#include "linux/keyfile_option_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string group = "Software\\Tolvanet\\Driftglass #1 screensaver";
  std::string error, written;
  if (driftglass::ReadOptionText(text, group, error)) {
    // A value a user could type: printable characters, blanks and backslashes included.
    std::string value = text.substr(0, 16);
    for (char& c : value) c = static_cast<char>(32 + static_cast<unsigned char>(c) % 95);
    if (!driftglass::WriteOptionText(text, group, {{"EnableFPS", value}}, written, error))
      __builtin_trap();
    const auto again = driftglass::ReadOptionText(written, group, error);
    if (!again || again->count("EnableFPS") == 0 || again->at("EnableFPS") != value)
      __builtin_trap();
  }
  driftglass::StoredOptionsParameter_long number("EnableVSync", 1);
  number.FromString(text);
  std::string out;
  number.ToString(out);
  const int32_t value = number.Get();
  number.FromString(out);
  if (number.Get() != value) __builtin_trap();
  driftglass::StoredOptionsParameter_paths paths("SlideshowPictures");
  paths.FromString(text);
  paths.ToString(out);
  const std::string first = out;
  paths.FromString(first);
  paths.ToString(out);
  if (out != first) __builtin_trap();
  return 0;
}

// Fuzz target: the Linux command line (words split at new lines) and the screen-saver
// argument text both programs read. Nothing may crash; a reason is always one line.
#include <cstdint>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/saver_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  driftglass::ParseSaverArguments(text);
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    words.push_back(text.substr(start, end - start));
  }
  words.push_back(text.substr(start));
  const driftglass::CommandLine line = driftglass::ParseCommandLine(words);
  if (line.error.find('\n') != std::string::npos) __builtin_trap();
  return 0;
}

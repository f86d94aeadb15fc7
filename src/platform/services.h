// What the portable code asks of the operating system beyond the window, the sound device and
// the option store (which are objects handed to the code that uses them): the program's
// embedded resources, the log file, and a line the user is told beyond the log. Each platform
// fills one table of these;
// the program hands it over with UsePlatform at start-up, before any other call into the
// portable code. Until then, and in tests that give none, the null platform answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace driftglass {

// The bytes of an embedded resource (a picture, shader or sound); they live as long as the
// program. Empty when the program has none of that type and id.
struct ResourceBytes {
  const unsigned char* data = nullptr;
  size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
};

struct PlatformServices {
  // The resource of a type name (compared without regard to case) and an integer id.
  ResourceBytes (*findResource)(const char* typeName, int id);
  // `path` for this run, opened for writing text, unless a running instance holds it. The
  // text of the run that wrote it last is kept as `path` + ".old" and the file starts empty;
  // it is held until the process ends or the file is closed. Null when it cannot be had,
  // with `busy` set when the reason is that a running instance writes it.
  std::FILE* (*claimLogFile)(const std::filesystem::path& path, bool& busy);
  // Tells the user `line` where a program of this platform is heard beyond its log: on Linux
  // standard error, which under a daemon goes to the session's log. A Windows saver has no
  // console, and the null platform says nothing.
  void (*tellUser)(const char* line);
};

// No resources, a log file opened as it is (never busy, nothing kept), nothing told.
const PlatformServices& NullPlatform();

// The services the portable code uses from now on (copied). Call it before the render thread
// starts and before the log is opened.
void UsePlatform(const PlatformServices& services);
const PlatformServices& Platform();

}  // namespace driftglass

// What the portable code asks of the operating system beyond the window, the sound device and
// the option store (which are objects handed to the code that uses them): the program's
// embedded resources, a JPEG codec and the log file. Each platform fills one table of these;
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
  // Decodes a JPEG picture held in memory into the textures' pixel layout (32-bit, bytes
  // blue, green, red, X, rows top-down). False, with nothing touched, when the data is not a
  // whole, readable JPEG picture.
  bool (*decodeJpeg)(const unsigned char* data, size_t size, int& width, int& height,
                     std::vector<uint32_t>& pixels);
  // `path` for this run, opened for writing text, unless a running instance holds it. The
  // text of the run that wrote it last is kept as `path` + ".old" and the file starts empty;
  // it is held until the process ends or the file is closed. Null when it cannot be had,
  // with `busy` set when the reason is that a running instance writes it.
  std::FILE* (*claimLogFile)(const std::filesystem::path& path, bool& busy);
};

// No resources, no JPEG codec, and a log file opened as it is (never busy, nothing kept).
const PlatformServices& NullPlatform();

// The services the portable code uses from now on (copied). Call it before the render thread
// starts and before the log is opened.
void UsePlatform(const PlatformServices& services);
const PlatformServices& Platform();

// Whether a JPEG of `size` bytes may hold a width x height picture: at most 8192 on a side,
// and no more pixels than such a file could describe (even flat colour costs a few bits per
// 8 x 8 block), so that a damaged header cannot make a decoder fill a gigabyte first.
inline bool PlausibleJpegSize(uint64_t width, uint64_t height, size_t size) {
  if (width == 0 || height == 0 || width > 8192 || height > 8192) return false;
  const uint64_t pixels = width * height;
  return pixels <= (uint64_t{1} << 20) || pixels <= uint64_t{size} * 256;
}

}  // namespace driftglass

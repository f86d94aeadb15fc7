// Fuzz target: picture bytes, as the BMP reader and the JPEG path (libjpeg-turbo) take them.
// A picture is refused or decoded whole; nothing is read past the data, and no header makes
// the decoder allocate more than its bytes could describe.
#include <cstdint>
#include <vector>

#include "foundation/bitmap_reader.h"
#include "linux/linux_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (driftglass::DecodeBitmap(data, size, width, height, pixels) &&
      pixels.size() != static_cast<size_t>(width) * height)
    __builtin_trap();
  if (driftglass::DecodeJpegWithTurbo(data, size, width, height, pixels) &&
      pixels.size() != static_cast<size_t>(width) * height)
    __builtin_trap();
  return 0;
}

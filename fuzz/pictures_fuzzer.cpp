// Fuzz target: picture bytes, as the BMP reader and the compressed pictures' reader take them.
// A picture is refused or read whole; nothing is read past the data, and no header makes the
// reader allocate more than its bytes could describe.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/bitmap_reader.h"
#include "foundation/compressed_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (driftglass::DecodeBitmap(data, size, width, height, pixels) &&
      pixels.size() != static_cast<size_t>(width) * height)
    __builtin_trap();
  driftglass::CompressedPicture picture;
  std::string why;
  if (driftglass::ReadCompressedPicture(data, size, picture, why)) {
    for (const driftglass::PicturePart& part : picture.parts) {
      // Every block of every part lies inside the data.
      if (part.blocks < data || part.blocks + part.BlockCount() * 8 > data + size) __builtin_trap();
      if (part.BlockCount() <= 4096 && picture.kind == driftglass::BlockKind::Colour &&
          driftglass::DecodeRegion(part, nullptr, 0, 0, part.width, part.height).size() !=
              static_cast<size_t>(part.width) * part.height)
        __builtin_trap();
    }
  }
  return 0;
}

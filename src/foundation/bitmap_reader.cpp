// BMP header validation and pixel conversion.
#include "foundation/bitmap_reader.h"

namespace driftglass {
namespace {

constexpr int kMaxSide = 16384;

uint32_t Read16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}
uint32_t Read32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// 5 bits to 8, spreading the top bits into the bottom so white stays white.
uint32_t Expand5(uint32_t v) {
  return (v << 3) | (v >> 2);
}

}  // namespace

bool DecodeBitmap(const unsigned char* data, size_t size, int& width, int& height,
                  std::vector<uint32_t>& pixels) {
  if (data == nullptr || size < 40) return false;
  // A bitmap file starts with a 14-byte file header that says where the pixels are; a bitmap
  // resource is the same without it, its pixels right after the header and colour table.
  const bool file = data[0] == 'B' && data[1] == 'M';
  const size_t info = file ? 14 : 0;
  if (size < info + 40) return false;
  const uint32_t headerSize = Read32(data + info);
  if (headerSize < 40 || headerSize > size - info) return false;
  const int32_t w = static_cast<int32_t>(Read32(data + info + 4));
  const int32_t h = static_cast<int32_t>(Read32(data + info + 8));
  const uint32_t planes = Read16(data + info + 12);
  const uint32_t bits = Read16(data + info + 14);
  const uint32_t compression = Read32(data + info + 16);
  const uint32_t coloursUsed = Read32(data + info + 32);
  if (planes != 1 || compression != 0 || (bits != 16 && bits != 24)) return false;
  if (w <= 0 || w > kMaxSide || h == 0 || h < -kMaxSide || h > kMaxSide) return false;
  if (coloursUsed > 256) return false;
  const uint64_t bitsOffset = file ? Read32(data + 10) : info + headerSize + coloursUsed * 4;
  const bool topDown = h < 0;
  const int rows = topDown ? -h : h;
  const size_t stride = (static_cast<size_t>(w) * bits / 8 + 3) & ~size_t{3};
  if (bitsOffset < info + headerSize || bitsOffset > size) return false;
  if (stride * rows > size - bitsOffset) return false;

  std::vector<uint32_t> result(static_cast<size_t>(w) * rows);
  for (int y = 0; y < rows; ++y) {
    const unsigned char* row = data + bitsOffset + stride * (topDown ? y : rows - 1 - y);
    uint32_t* out = result.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      uint32_t blue, green, red;
      if (bits == 24) {
        blue = row[x * 3];
        green = row[x * 3 + 1];
        red = row[x * 3 + 2];
      } else {
        const uint32_t v = Read16(row + x * 2);
        blue = Expand5(v & 31);
        green = Expand5((v >> 5) & 31);
        red = Expand5((v >> 10) & 31);
      }
      out[x] = blue | (green << 8) | (red << 16) | 0xFF000000u;
    }
  }
  width = w;
  height = rows;
  pixels.swap(result);
  return true;
}

}  // namespace driftglass

// Decoding a JPEG picture held in memory into the pixel layout of the program's textures
// (32-bit, bytes blue, green, red, X, rows top-down). Each platform brings its own codec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace driftglass {

// Whether a JPEG of `size` bytes may hold a width x height picture: at most 8192 on a side,
// and no more pixels than such a file could describe (even flat colour costs a few bits per
// 8 x 8 block), so that a damaged header cannot make the decoder fill a gigabyte first.
inline bool PlausibleJpegSize(uint64_t width, uint64_t height, size_t size) {
  if (width == 0 || height == 0 || width > 8192 || height > 8192) return false;
  const uint64_t pixels = width * height;
  return pixels <= (uint64_t{1} << 20) || pixels <= uint64_t{size} * 256;
}

// False, with nothing touched, when the data is not a whole, readable JPEG picture.
bool DecodeJpeg(const unsigned char* data, size_t size, int& width, int& height,
                std::vector<uint32_t>& pixels);

}  // namespace driftglass

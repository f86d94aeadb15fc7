// Decoding a JPEG picture held in memory into the pixel layout of the program's textures
// (32-bit, bytes blue, green, red, X, rows top-down). Each platform brings its own codec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace driftglass {

// False, with nothing touched, when the data is not a whole, readable JPEG picture.
bool DecodeJpeg(const unsigned char* data, size_t size, int& width, int& height,
                std::vector<uint32_t>& pixels);

}  // namespace driftglass

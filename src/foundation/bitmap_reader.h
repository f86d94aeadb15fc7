// Reading uncompressed Windows bitmap files (16-bit 5-5-5 and 24-bit) into the pixel layout
// every picture of the program uses: 32-bit pixels with bytes blue, green, red, X, rows
// top-down. Takes a bitmap file or a bitmap resource (the same without the file header).
// Every size and offset is checked against the data; nothing is read past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace driftglass {

// False (and `pixels` untouched) when the data is not such a bitmap or is damaged.
bool DecodeBitmap(const unsigned char* data, size_t size, int& width, int& height,
                  std::vector<uint32_t>& pixels);

}  // namespace driftglass

// Writes a frame read back from OpenGL as a PNG file (the --snapshot diagnostic).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace driftglass {

// `rgba` holds width * height pixels, top row first; the alpha byte is not written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace driftglass

// Reading, merging and decoding the compressed pictures.
#include "foundation/compressed_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace driftglass {
namespace {

constexpr size_t kHeaderBytes = 8;
constexpr size_t kPartHeaderBytes = 24;
constexpr size_t kBlockBytes = 8;

uint32_t Read32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

double ReadFloat(const uint8_t* p) {
  const uint32_t bits = Read32(p);
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The 8-bit channels of a 5-6-5 colour.
void Expand(unsigned packed, int (&rgb)[3]) {
  const int r = (packed >> 11) & 31, g = (packed >> 5) & 63, b = packed & 31;
  rgb[0] = (r << 3) | (r >> 2);
  rgb[1] = (g << 2) | (g >> 4);
  rgb[2] = (b << 3) | (b >> 2);
}

// The 16 texels of a colour block, bytes blue, green, red, 0. In a DXT5 block the colours
// are always four; in DXT1 ends in ascending order mean three and black.
void DecodeColourBlock(const uint8_t* block, bool alwaysFour, uint32_t (&texels)[16]) {
  const unsigned c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
  int palette[4][3];
  Expand(c0, palette[0]);
  Expand(c1, palette[1]);
  for (int c = 0; c < 3; ++c) {
    if (alwaysFour || c0 > c1) {
      palette[2][c] = (2 * palette[0][c] + palette[1][c]) / 3;
      palette[3][c] = (palette[0][c] + 2 * palette[1][c]) / 3;
    } else {
      palette[2][c] = (palette[0][c] + palette[1][c]) / 2;
      palette[3][c] = 0;
    }
  }
  const uint32_t bits = Read32(block + 4);
  for (int k = 0; k < 16; ++k) {
    const int* c = palette[(bits >> (2 * k)) & 3];
    texels[k] = static_cast<uint32_t>(c[2]) | c[1] << 8 | c[0] << 16;
  }
}

void DecodeAlphaBlock(const uint8_t* block, uint8_t (&alphas)[16]) {
  const int a0 = block[0], a1 = block[1];
  int levels[8] = {a0, a1};
  if (a0 > a1) {
    for (int i = 1; i <= 6; ++i) levels[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (int i = 1; i <= 4; ++i) levels[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    levels[6] = 0;
    levels[7] = 255;
  }
  uint64_t bits = 0;
  for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
  for (int k = 0; k < 16; ++k) alphas[k] = static_cast<uint8_t>(levels[(bits >> (3 * k)) & 7]);
}

}  // namespace

bool ReadCompressedPicture(const uint8_t* data, size_t size, CompressedPicture& picture,
                           std::string& why) {
  if (size < kHeaderBytes || std::memcmp(data, "DGP1", 4) != 0) {
    why = "is not a compressed picture";
    return false;
  }
  if (data[4] != static_cast<uint8_t>(BlockKind::Colour) &&
      data[4] != static_cast<uint8_t>(BlockKind::Mask)) {
    why = "holds blocks of an unknown kind";
    return false;
  }
  const size_t count = data[5];
  if (count < 1 || count > kMostPictureParts || size < kHeaderBytes + count * kPartHeaderBytes) {
    why = "has a damaged list of parts";
    return false;
  }
  CompressedPicture read;
  read.kind = static_cast<BlockKind>(data[4]);
  size_t offset = kHeaderBytes + count * kPartHeaderBytes;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* header = data + kHeaderBytes + i * kPartHeaderBytes;
    const uint32_t width = Read32(header), height = Read32(header + 4);
    PicturePart part;
    part.left = ReadFloat(header + 8);
    part.right = ReadFloat(header + 12);
    part.bottom = ReadFloat(header + 16);
    part.top = ReadFloat(header + 20);
    if (width < 4 || height < 4 || width > kLargestPictureSide || height > kLargestPictureSide ||
        width % 4 != 0 || height % 4 != 0) {
      why = "has a part of " + std::to_string(width) + "x" + std::to_string(height) + " texels";
      return false;
    }
    if (!std::isfinite(part.left) || !std::isfinite(part.right) || !std::isfinite(part.bottom) ||
        !std::isfinite(part.top) || !(part.left < part.right) || !(part.bottom < part.top)) {
      why = "has a part with no place on the plane";
      return false;
    }
    part.width = static_cast<int>(width);
    part.height = static_cast<int>(height);
    const size_t bytes = part.BlockCount() * kBlockBytes;
    if (size - offset < bytes) {
      why = "is truncated";
      return false;
    }
    part.blocks = data + offset;
    offset += bytes;
    read.parts.push_back(part);
  }
  if (offset != size) {
    why = "has bytes after its last part";
    return false;
  }
  picture = std::move(read);
  return true;
}

bool MaskFits(const CompressedPicture& colour, const CompressedPicture& mask) {
  if (colour.parts.size() != mask.parts.size()) return false;
  for (size_t i = 0; i < colour.parts.size(); ++i) {
    const PicturePart &a = colour.parts[i], &b = mask.parts[i];
    if (a.width != b.width || a.height != b.height || a.left != b.left || a.right != b.right ||
        a.bottom != b.bottom || a.top != b.top) {
      return false;
    }
  }
  return true;
}

std::vector<uint8_t> MergeMaskBlocks(const PicturePart& colour, const PicturePart& mask) {
  std::vector<uint8_t> merged(colour.BlockCount() * 2 * kBlockBytes);
  for (size_t b = 0; b < colour.BlockCount(); ++b) {
    std::memcpy(&merged[b * 16], mask.blocks + b * kBlockBytes, kBlockBytes);
    std::memcpy(&merged[b * 16 + 8], colour.blocks + b * kBlockBytes, kBlockBytes);
  }
  return merged;
}

std::vector<uint32_t> DecodeRegion(const PicturePart& colour, const PicturePart* mask, int x, int y,
                                   int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const int blocksAcross = colour.width / 4;
  uint32_t texels[16];
  uint8_t alphas[16];
  for (int by = y / 4; by < (y + height) / 4; ++by) {
    for (int bx = x / 4; bx < (x + width) / 4; ++bx) {
      const size_t block = static_cast<size_t>(by) * blocksAcross + bx;
      DecodeColourBlock(colour.blocks + block * kBlockBytes, mask != nullptr, texels);
      if (mask != nullptr) {
        DecodeAlphaBlock(mask->blocks + block * kBlockBytes, alphas);
      } else {
        std::fill(alphas, alphas + 16, uint8_t{255});
      }
      uint32_t* row = &pixels[static_cast<size_t>(by * 4 - y) * width + (bx * 4 - x)];
      for (int k = 0; k < 16; ++k) {
        row[(k / 4) * width + k % 4] = texels[k] | static_cast<uint32_t>(alphas[k]) << 24;
      }
    }
  }
  return pixels;
}

std::vector<AlphaRange> MaskBlockRanges(const PicturePart& part) {
  std::vector<AlphaRange> ranges(part.BlockCount());
  uint8_t alphas[16];
  for (size_t b = 0; b < ranges.size(); ++b) {
    const uint8_t* block = part.blocks + b * kBlockBytes;
    // Both ends the same and every index 0: the one value (most blocks, all clear or solid).
    if (block[0] == block[1] &&
        std::all_of(block + 2, block + 8, [](uint8_t v) { return v == 0; })) {
      ranges[b] = {block[0], block[0]};
      continue;
    }
    DecodeAlphaBlock(block, alphas);
    const auto [low, high] = std::minmax_element(alphas, alphas + 16);
    ranges[b] = {*low, *high};
  }
  return ranges;
}

}  // namespace driftglass

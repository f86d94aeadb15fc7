// The seascape's pictures as the artwork generator compresses them: one or more parts, each a
// rectangle of the plane z = 0 in S3TC blocks of 4 x 4 texels, 8 bytes a block, rows of
// blocks from the top. A colour picture holds DXT1 blocks; a mask holds the alpha halves of
// DXT5 blocks, which go together with the colour blocks of the picture they belong to.
// File layout, little-endian: "DGP1"; u8 kind (1 colour, 2 mask); u8 part count; u16 0;
// per part u32 width, u32 height, f32 left, right, bottom, top; then the parts' blocks.
// Pure: any thread (the scene builds its textures from them on the render thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace driftglass {

enum class BlockKind : uint8_t { Colour = 1, Mask = 2 };

struct PicturePart {
  int width = 0, height = 0;  // texels, multiples of 4
  double left = 0, right = 0, bottom = 0, top = 0;
  const uint8_t* blocks = nullptr;  // width / 4 * height / 4 blocks of 8 bytes
  size_t BlockCount() const { return static_cast<size_t>(width / 4) * (height / 4); }
};

struct CompressedPicture {
  BlockKind kind = BlockKind::Colour;
  std::vector<PicturePart> parts;  // point into the bytes they were read from
};

inline constexpr int kLargestPictureSide = 8192;
inline constexpr int kMostPictureParts = 8;

// Reads the layout of `size` bytes at `data`; the parts point into them. False, with `why`
// filled, when the bytes are not a whole picture of this layout: a wrong header, a part's
// size outside 4 ... 8192 or not a multiple of 4, a rectangle that is not finite and the
// right way round, or fewer or more bytes than the blocks take.
bool ReadCompressedPicture(const uint8_t* data, size_t size, CompressedPicture& picture,
                           std::string& why);

// A mask fits a colour picture when its parts have the same sizes and rectangles.
bool MaskFits(const CompressedPicture& colour, const CompressedPicture& mask);

// A part's DXT5 blocks, 16 bytes each: the mask's alpha half, then the colour's half.
std::vector<uint8_t> MergeMaskBlocks(const PicturePart& colour, const PicturePart& mask);

// The texels of the `width` x `height` region from texel (x, y) of a colour part, bytes blue,
// green, red and alpha, rows from the top: with a mask, its alpha, and the colour blocks read
// as DXT5 reads them; without one, alpha 255. The region is whole blocks inside the part.
std::vector<uint32_t> DecodeRegion(const PicturePart& colour, const PicturePart* mask, int x, int y,
                                   int width, int height);
// The lowest and highest alpha of each block of a mask part, blocks in order.
struct AlphaRange {
  uint8_t low = 0, high = 0;
};
std::vector<AlphaRange> MaskBlockRanges(const PicturePart& part);

}  // namespace driftglass

// The compressed pictures' blocks decoded (for the regions drawn every frame, and for a driver
// without S3TC textures) and masks merged into them.
#include "foundation/compressed_picture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace driftglass {
namespace {

TEST(CompressedPicture, BlocksDecodeAsTheDriverWouldShowThemAndMasksMergeBlockByBlock) {
  // White and black ends, texels at index 0, 1, 2 and 3 along each row.
  const uint8_t fourColours[8] = {0xFF, 0xFF, 0x00, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
  // The ends the other way round: three colours, and index 3 is black.
  const uint8_t threeColours[8] = {0x00, 0x00, 0xFF, 0xFF, 0xE4, 0xE4, 0xE4, 0xE4};
  // Alpha from 255 down to 0 in eight steps; then six steps with 0 and 255 beside.
  const uint8_t eightLevels[8] = {255, 0, 0x88, 0xC6, 0xFA, 0x88, 0xC6, 0xFA};
  uint8_t blocks[16];
  std::memcpy(blocks, fourColours, 8);
  std::memcpy(blocks + 8, threeColours, 8);
  const PicturePart part{.width = 8, .height = 4, .blocks = blocks};
  const std::vector<uint32_t> pixels = DecodeRegion(part, nullptr, 0, 0, 8, 4);
  ASSERT_EQ(pixels.size(), 32u);
  EXPECT_EQ(pixels[0], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[1], 0xFF000000u);
  EXPECT_EQ(pixels[2], 0xFFAAAAAAu);  // two thirds of the first end
  EXPECT_EQ(pixels[3 * 8 + 3], 0xFF555555u);
  EXPECT_EQ(pixels[8 + 4], 0xFF000000u);  // the second block: its first end is black
  EXPECT_EQ(pixels[8 + 6], 0xFF7F7F7Fu);  // halfway
  EXPECT_EQ(pixels[8 + 7], 0xFF000000u);  // black

  PicturePart mask = part;
  uint8_t alphaBlocks[16];
  std::memcpy(alphaBlocks, eightLevels, 8);
  std::memcpy(alphaBlocks + 8, eightLevels, 8);
  alphaBlocks[8] = 0, alphaBlocks[9] = 255;  // six levels, then 0 and 255
  mask.blocks = alphaBlocks;
  // With the mask: its alpha, and every block of four colours, as DXT5 reads them.
  const std::vector<uint32_t> masked = DecodeRegion(part, &mask, 0, 0, 8, 4);
  const auto alpha = [&](size_t at) { return masked[at] >> 24; };
  // Indices 0, 1, 2 and 3 along the first row of each block.
  const uint32_t firstRow[4] = {255, 0, 218, 182};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(alpha(x), firstRow[x]) << x;
  EXPECT_EQ(alpha(4 + 0), 0u);
  EXPECT_EQ(alpha(4 + 1), 255u);
  EXPECT_EQ(alpha(4 + 2), 51u);     // (4 * 0 + 255) / 5
  EXPECT_EQ(alpha(8 + 4 + 2), 0u);  // index 6: the fixed 0
  EXPECT_EQ(masked[0], 0xFFFFFFFFu);
  EXPECT_EQ(masked[4 + 3] & 0xFFFFFFu, 0xAAAAAAu);  // index 3: a third of white, not black
  // A region of the blocks: the second block alone.
  EXPECT_EQ(DecodeRegion(part, &mask, 4, 0, 4, 4)[3], masked[4 + 3]);
  // Merged for the driver: the mask's half first, then the colour's, block by block.
  const std::vector<uint8_t> merged = MergeMaskBlocks(part, mask);
  ASSERT_EQ(merged.size(), 32u);
  EXPECT_EQ(0, std::memcmp(&merged[0], alphaBlocks, 8));
  EXPECT_EQ(0, std::memcmp(&merged[8], fourColours, 8));
  EXPECT_EQ(0, std::memcmp(&merged[24], threeColours, 8));
  // Each block's lowest and highest alpha: a block of one value is read without decoding.
  const std::vector<AlphaRange> ranges = MaskBlockRanges(mask);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0].low, 0);
  EXPECT_EQ(ranges[0].high, 255);
  uint8_t still[8] = {77, 77, 0, 0, 0, 0, 0, 0};
  mask.blocks = still;
  mask.width = 4;
  EXPECT_EQ(MaskBlockRanges(mask)[0].low, 77);
  EXPECT_EQ(MaskBlockRanges(mask)[0].high, 77);
}

}  // namespace
}  // namespace driftglass

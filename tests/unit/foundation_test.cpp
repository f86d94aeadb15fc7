// The foundation at its edges: a zero vector normalised, rotations about an axis of any
// length, the random sequence, ribbon strips (points on segment boundaries, nodes all in one
// place, a reset along a direction that is not of unit length), a 16-bit bitmap's colours, and
// the compressed pictures' blocks decoded (for the regions drawn every frame, and for a driver
// without S3TC textures) and masks merged into them.
#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

#include "foundation/bitmap_reader.h"
#include "foundation/compressed_picture.h"
#include "foundation/random_source.h"
#include "foundation/ribbon.h"
#include "foundation/vector_math.h"

namespace driftglass {
namespace {

void ExpectNear(const Vector3& v, const Vector3& want, double tolerance = 1e-12) {
  EXPECT_NEAR(v.x, want.x, tolerance);
  EXPECT_NEAR(v.y, want.y, tolerance);
  EXPECT_NEAR(v.z, want.z, tolerance);
}

TEST(VectorMath, AZeroVectorBecomesTheXAxisAndRotationsAreRightHanded) {
  Vector3 v;
  v.Normalize();
  ExpectNear(v, Vector3(1, 0, 0));
  RotateAroundAxis(v, Vector3(0, 3, 0), std::numbers::pi / 2, v);
  ExpectNear(v, Vector3(0, 0, -1));
  ExpectNear(RotateAroundAxis(Vector3(0, 1, 0), Vector3(0, 0, 1), std::numbers::pi / 2, v),
             Vector3(-1, 0, 0));
}

TEST(RandomUnit, IsMicrosoftsRandOver32767ToTheLastDigit) {
  // The steps of Microsoft's rand(), which from seed 1 gives 41, 18467 and 6334.
  SeedRandom(1);
  for (const double n : {41, 18467, 6334}) EXPECT_DOUBLE_EQ(RandomUnit(), n / 32767);
}

double Gap(const RibbonNode* nodes, int k) {
  Vector3 gap;
  return Length(Subtract(nodes[k - 1].basePoint, nodes[k].basePoint, gap));
}

TEST(Ribbon, AFreshRibbonMapsStripPointsToThemselves) {
  Ribbon ribbon;
  // Segment boundaries such as 0.55 included: rounding must not move them a segment back.
  for (double x : {1.0, 0.999, 0.6, 0.55, 0.31, 0.05, 0.001}) {
    Vector3 out;
    ribbon.TransformVertex(Vector3(123, 0.2, -0.3), out, x);  // point.x is not read
    ExpectNear(out, Vector3(x, 0.2, -0.3));
  }
}

TEST(Ribbon, CoincidentNodesPartAlongMinusXAPulledHeadKeepsEveryGapAndOneNodeIsRefused) {
  Ribbon ribbon;
  for (int k = 0; k < 20; ++k) ribbon.GetNodes()[k].basePoint = Vector3(2, 3, 4);
  ribbon.Relax();
  ExpectNear(ribbon.GetNodes()[1].basePoint, Vector3(1.95, 3, 4));
  ExpectNear(ribbon.GetNodes()[0].axisX, Vector3(1, 0, 0));
  for (int k = 1; k < 20; ++k) EXPECT_NEAR(Gap(ribbon.GetNodes(), k), 0.05, 1e-12);
  ribbon.MoveHead(Vector3(2.3, 3.1, 4), Vector3(0, 0, 1));  // each node pulled one spacing on
  for (int k = 1; k < 20; ++k) EXPECT_NEAR(Gap(ribbon.GetNodes(), k), 0.05, 1e-12);
  EXPECT_THROW(Ribbon(1), std::invalid_argument);  // node 0 is oriented by node 1
}

TEST(Ribbon, ResetLaysNodesBackAlongTheDirectionWithoutNormalising) {
  Ribbon ribbon;
  ribbon.Reset(Vector3(0, 0, 0), Vector3(0, 2, 0), Vector3(0, 0, 1));
  const RibbonNode& node = ribbon.GetNodes()[4];
  ExpectNear(node.basePoint, Vector3(0, 0, -0.2));
  ExpectNear(node.axisY, Vector3(2, 0, 0));  // up x dir, as long as up
}

TEST(Bitmap, SixteenBitColoursSpreadTheirTopBitsDownAndAWholePaletteIsSteppedOver) {
  // A bitmap resource of one pixel after a table of 256 colours: blue 31, green 16, red 1.
  std::vector<unsigned char> bitmap(40 + 256 * 4 + 4);
  bitmap[0] = 40, bitmap[4] = 1, bitmap[8] = 1, bitmap[12] = 1, bitmap[14] = 16, bitmap[33] = 1;
  bitmap[40 + 1024] = 0x1F, bitmap[40 + 1025] = 0x06;
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(DecodeBitmap(bitmap.data(), bitmap.size(), width, height, pixels));
  EXPECT_EQ(pixels, std::vector<uint32_t>{0xFF0884FFu});
}

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
  const uint8_t green[8] = {0x00, 0x04};  // 32 of 63: 130 of 255
  EXPECT_EQ(DecodeRegion({.width = 4, .height = 4, .blocks = green}, nullptr, 0, 0, 4, 4)[0],
            0xFF008200u);

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

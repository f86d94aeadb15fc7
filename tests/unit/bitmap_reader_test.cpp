// Reading 16- and 24-bit bitmap files, and refusing damaged ones.
#include "foundation/bitmap_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace driftglass {
namespace {

void Put(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back((value >> (8 * i)) & 0xFF);
}

// A bitmap file of w x h pixels; `pixel(x, y)` gives the stored value of the picture's pixel
// at column x and row y counted from the top.
template <typename Pixel>
std::vector<unsigned char> MakeBitmap(int w, int h, int bits, bool topDown, Pixel pixel) {
  const int stride = (w * bits / 8 + 3) & ~3;
  std::vector<unsigned char> out = {'B', 'M'};
  Put(out, 54 + stride * h, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, w, 4);
  Put(out, topDown ? -h : h, 4);
  Put(out, 1, 2);
  Put(out, bits, 2);
  for (int i = 0; i < 6; ++i) Put(out, 0, 4);
  for (int row = 0; row < h; ++row) {
    const int y = topDown ? row : h - 1 - row;
    for (int x = 0; x < w; ++x) Put(out, pixel(x, y), bits / 8);
    for (int pad = w * bits / 8; pad < stride; ++pad) out.push_back(0xEE);
  }
  return out;
}

uint32_t Bgr(uint32_t b, uint32_t g, uint32_t r) {
  return b | (g << 8) | (r << 16);
}

TEST(DecodeBitmap, RowsComeOutTopDownFromFilesAndResourcesOfBothDepths) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  for (bool topDown : {false, true}) {
    const auto file =
        MakeBitmap(3, 2, 24, topDown, [](int x, int y) { return Bgr(10 * x, 100 + y, 200); });
    ASSERT_TRUE(DecodeBitmap(file.data(), file.size(), w, h, pixels));
    ASSERT_EQ(w * h, 6);
    // The fourth byte means nothing; compare blue, green and red.
    EXPECT_EQ(pixels[1 * 3 + 2] & 0xFFFFFF, Bgr(20, 101, 200)) << topDown;
    // A bitmap resource is the same without the 14-byte file header.
    const std::vector<unsigned char> resource(file.begin() + 14, file.end());
    ASSERT_TRUE(DecodeBitmap(resource.data(), resource.size(), w, h, pixels));
    EXPECT_EQ(pixels[1] & 0xFFFFFF, Bgr(10, 100, 200));
  }
  // 16-bit 5-5-5 channels expand to the full range.
  const auto file = MakeBitmap(2, 1, 16, false, [](int x, int) {
    return x == 0 ? 0x7FFFu : (1u << 10) | (16u << 5) | 31u;  // white; dark red, mid green
  });
  ASSERT_TRUE(DecodeBitmap(file.data(), file.size(), w, h, pixels));
  EXPECT_EQ(pixels[0] & 0xFFFFFF, Bgr(255, 255, 255));
  EXPECT_EQ(pixels[1] & 0xFFFFFF, Bgr(255, 132, 8));
}

TEST(DecodeBitmap, RefusesDamagedFilesWithoutReadingPastThem) {
  const auto good = MakeBitmap(4, 4, 24, false, [](int, int) { return 0x123456u; });
  int w = 7, h = 7;
  std::vector<uint32_t> pixels = {42};
  auto refuses = [&](std::vector<unsigned char> file) {
    // Copy into an exact-size buffer so that a read past the end is caught by the sanitizers.
    std::unique_ptr<unsigned char[]> exact(new unsigned char[file.size()]);
    if (!file.empty()) std::memcpy(exact.get(), file.data(), file.size());
    return !DecodeBitmap(exact.get(), file.size(), w, h, pixels);
  };
  for (size_t cut = 0; cut < good.size(); cut += 7) {
    EXPECT_TRUE(refuses(std::vector<unsigned char>(good.begin(), good.begin() + cut))) << cut;
  }
  auto patched = [&](size_t at, uint32_t value, int bytes) {
    auto file = good;
    for (int i = 0; i < bytes; ++i) file.at(at + i) = (value >> (8 * i)) & 0xFF;
    return file;
  };
  EXPECT_TRUE(refuses(patched(0, 'X', 1)));           // not "BM"
  EXPECT_TRUE(refuses(patched(28, 8, 2)));            // 8 bits per pixel
  EXPECT_TRUE(refuses(patched(28, 32, 2)));           // 32 bits per pixel
  EXPECT_TRUE(refuses(patched(30, 1, 4)));            // compressed
  EXPECT_TRUE(refuses(patched(18, 0, 4)));            // no width
  EXPECT_TRUE(refuses(patched(18, 100000, 4)));       // absurd width
  EXPECT_TRUE(refuses(patched(22, 0x80000000u, 4)));  // absurd negative height
  EXPECT_TRUE(refuses(patched(10, 0xFFFFFFF0u, 4)));  // pixels past the end
  EXPECT_TRUE(refuses(patched(14, 0xFFFFFFFFu, 4)));  // header larger than the file
  EXPECT_TRUE(refuses(patched(18, 5, 4)));            // rows would not fit
  EXPECT_TRUE(DecodeBitmap(nullptr, 0, w, h, pixels) == false);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(pixels, std::vector<uint32_t>{42});
  // A palette of up to 256 colours may be listed, more cannot be.
  EXPECT_TRUE(refuses(patched(46, 257, 4)));
  EXPECT_FALSE(refuses(patched(46, 256, 4)));
}

}  // namespace
}  // namespace driftglass

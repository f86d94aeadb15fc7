// The JPEG path of the Linux program (libjpeg-turbo): a header that claims a huge picture is
// refused before anything is allocated for it.
#include "foundation/jpeg_decoder.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <chrono>

namespace driftglass {
namespace {

// A small grey JPEG, as bytes.
std::vector<unsigned char> SmallJpeg(int width, int height) {
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3, 128);
  tjhandle encoder = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(encoder, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_444, 90, 0);
  std::vector<unsigned char> bytes(jpeg, jpeg + size);
  tjFree(jpeg);
  tjDestroy(encoder);
  return bytes;
}

TEST(DecodeJpeg, AHeaderClaimingAHugePictureIsRefusedAtOnce) {
  std::vector<unsigned char> jpeg = SmallJpeg(16, 16);
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), width, height, pixels));
  EXPECT_EQ(width, 16);
  // The frame header (SOF0: FF C0, length, precision, height, width) now claims 16384 x 16384.
  for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = 0x40, jpeg[i + 6] = 0x00, jpeg[i + 7] = 0x40, jpeg[i + 8] = 0x00;
      break;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DecodeJpeg(jpeg.data(), jpeg.size(), width, height, pixels));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_EQ(width, 16);  // nothing touched
  EXPECT_EQ(pixels.size(), 256u);
  // The program's own pictures are well inside the bound.
  EXPECT_TRUE(PlausibleJpegSize(1024, 512, 60000));
  EXPECT_FALSE(PlausibleJpegSize(8193, 16, 1 << 20));
  EXPECT_FALSE(PlausibleJpegSize(4096, 4096, 690));
}

}  // namespace
}  // namespace driftglass

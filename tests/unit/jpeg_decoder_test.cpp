// The JPEG path of the Linux program (libjpeg-turbo): a header that claims a huge picture is
// refused before anything is allocated for it.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include "common/counting_allocator.h"
#include "linux/linux_platform.h"

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

TEST(DecodeJpeg, AHeaderClaimingAHugePictureIsRefusedBeforeAnythingIsAllocatedForIt) {
  // The frame header (SOF0: FF C0, length, precision, height, width) claims each size in
  // turn: past the largest side, and within it but far beyond what so few bytes could hold.
  for (const int side : {16384, 8000}) {
    std::vector<unsigned char> jpeg = SmallJpeg(16, 16);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(DecodeJpegWithTurbo(jpeg.data(), jpeg.size(), width, height, pixels));
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
      if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
        jpeg[i + 5] = jpeg[i + 7] = static_cast<unsigned char>(side >> 8);
        jpeg[i + 6] = jpeg[i + 8] = static_cast<unsigned char>(side & 0xFF);
        break;
      }
    }
    testing_support::StartCounting();
    EXPECT_FALSE(DecodeJpegWithTurbo(jpeg.data(), jpeg.size(), width, height, pixels)) << side;
    EXPECT_LT(testing_support::StopCounting().largest, 1u << 20) << side;
    EXPECT_EQ(width, 16);  // nothing touched
    EXPECT_EQ(pixels.size(), 256u);
  }
  // The program's own pictures are well inside the bound.
  EXPECT_TRUE(PlausibleJpegSize(1024, 512, 60000));
}

}  // namespace
}  // namespace driftglass

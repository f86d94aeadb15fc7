// Loading the embedded pictures, and the recipes by which the decor and the banner turn them
// into textures.
#include "foundation/texture_images.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/bitmap_reader.h"
#include "foundation/event_log.h"
#include "platform/services.h"

namespace driftglass {
namespace {

// Names the picture that failed, and why, in the log; returns 1, the failure.
Status PictureFailed(const char* type, int id, const std::string& why) {
  const std::string line = "Picture " + std::to_string(id) + " (" + type + ") " + why;
  TheEventLog().Write(kError, line.c_str());
  return kFailed;
}

// Whether the current context names `name` among its extensions (whole names only).
bool HasExtension(const char* name) {
  const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (list == nullptr) return false;
  const std::string_view all(list), wanted(name);
  for (size_t start = 0; start < all.size();) {
    size_t end = all.find(' ', start);
    if (end == std::string_view::npos) end = all.size();
    if (all.substr(start, end - start) == wanted) return true;
    start = end + 1;
  }
  return false;
}

// Half the texels each way, each the mean of the four it replaces (an odd last row or column
// is left out).
std::vector<uint32_t> Halve(const std::vector<uint32_t>& pixels, int& width, int& height) {
  const int w = std::max(1, width / 2), h = std::max(1, height / 2);
  std::vector<uint32_t> half(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int x0 = std::min(2 * x, width - 1), x1 = std::min(2 * x + 1, width - 1);
      const int y0 = std::min(2 * y, height - 1), y1 = std::min(2 * y + 1, height - 1);
      const uint32_t four[4] = {pixels[static_cast<size_t>(y0) * width + x0],
                                pixels[static_cast<size_t>(y0) * width + x1],
                                pixels[static_cast<size_t>(y1) * width + x0],
                                pixels[static_cast<size_t>(y1) * width + x1]};
      uint32_t mean = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = 2;
        for (const uint32_t p : four) sum += (p >> shift) & 0xFF;
        mean |= (sum / 4) << shift;
      }
      half[static_cast<size_t>(y) * w + x] = mean;
    }
  }
  width = w;
  height = h;
  return half;
}

}  // namespace

Status LoadBitmapResource(std::vector<uint32_t>& pixels, int id, int width, int height) {
  const ResourceBytes bytes = Platform().findResource("BITMAP", id);
  if (!bytes) return PictureFailed("BITMAP", id, "is missing");
  int w = 0, h = 0;
  std::vector<uint32_t> decoded;
  if (!DecodeBitmap(bytes.data, bytes.size, w, h, decoded)) {
    return PictureFailed("BITMAP", id, "cannot be decoded");
  }
  // The caller's size is what its texture is made with: anything else would be read wrongly.
  if (w != width || h != height) {
    return PictureFailed("BITMAP", id,
                         "is " + std::to_string(w) + "x" + std::to_string(h) + ", not " +
                             std::to_string(width) + "x" + std::to_string(height));
  }
  pixels.swap(decoded);
  return kSucceeded;
}

Status LoadCompressedPicture(CompressedPicture& picture, int id, BlockKind kind) {
  const ResourceBytes bytes = Platform().findResource("S3TC", id);
  if (!bytes) return PictureFailed("S3TC", id, "is missing");
  CompressedPicture read;
  std::string why;
  if (!ReadCompressedPicture(bytes.data, bytes.size, read, why)) {
    return PictureFailed("S3TC", id, why);
  }
  if (read.kind != kind) {
    return PictureFailed("S3TC", id, kind == BlockKind::Mask ? "is no mask" : "is a mask");
  }
  picture = std::move(read);
  return kSucceeded;
}

GlTexture MakeTexture(const std::vector<uint32_t>& pixels, int width, int height,
                      GLint internalFormat, GLint wrap, GLint filter) {
  GlTexture texture = GlTexture::Make();
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
               pixels.data());
  return texture;
}

GlTexture MakePartTexture(const PicturePart& colour, const PicturePart* mask, GLint filter) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const bool fits = colour.width <= largest && colour.height <= largest;
  if (fits && HasExtension("GL_EXT_texture_compression_s3tc")) {
    GlTexture texture = GlTexture::Make();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    if (mask == nullptr) {
      glCompressedTexImage2D(GL_TEXTURE_2D, 0, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, colour.width,
                             colour.height, 0, static_cast<GLsizei>(colour.BlockCount() * 8),
                             colour.blocks);
    } else {
      const std::vector<uint8_t> merged = MergeMaskBlocks(colour, *mask);
      glCompressedTexImage2D(GL_TEXTURE_2D, 0, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, colour.width,
                             colour.height, 0, static_cast<GLsizei>(merged.size()), merged.data());
    }
    return texture;
  }
  int width = colour.width, height = colour.height;
  std::vector<uint32_t> pixels = DecodeRegion(colour, mask, 0, 0, width, height);
  while (largest > 0 && (width > largest || height > largest)) {
    pixels = Halve(pixels, width, height);
  }
  return MakeTexture(pixels, width, height, mask ? GL_RGBA8 : GL_RGB8, GL_CLAMP_TO_EDGE, filter);
}

void DecodedRegion::Hold(const PicturePart& colour, const PicturePart* mask, GLint filter) {
  if (Holds()) return;
  const auto edge = [](double at, int size, int extra) {
    return std::clamp((static_cast<int>(std::floor(at * size / 4)) + extra) * 4, 0, size);
  };
  const int x0 = edge(wanted_.s0, colour.width, -1), x1 = edge(wanted_.s1, colour.width, 2);
  const int y0 = edge(wanted_.t0, colour.height, -1), y1 = edge(wanted_.t1, colour.height, 2);
  // Kept as the pixels come, blue first, which the driver copies and samples fastest.
  texture_ = MakeTexture(DecodeRegion(colour, mask, x0, y0, x1 - x0, y1 - y0), x1 - x0, y1 - y0,
                         GL_RGBA, GL_CLAMP_TO_EDGE, filter);
  held_ =
      TexturePiece{static_cast<double>(x0) / colour.width, static_cast<double>(y0) / colour.height,
                   static_cast<double>(x1) / colour.width, static_cast<double>(y1) / colour.height};
}

}  // namespace driftglass

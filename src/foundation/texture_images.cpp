// Loading the embedded pictures, and the one recipe by which the decor and the banner turn
// them into textures.
#include "foundation/texture_images.h"

#include <map>
#include <string>
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

struct DecodedPicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

std::map<int, DecodedPicture>& DecodedAhead() {
  static std::map<int, DecodedPicture> pictures;
  return pictures;
}

// The picture `id` decoded ahead, taken out of the store; false when there is none.
bool TakeDecodedAhead(int id, DecodedPicture& picture) {
  const auto found = DecodedAhead().find(id);
  if (found == DecodedAhead().end()) return false;
  picture = std::move(found->second);
  DecodedAhead().erase(found);
  return true;
}

bool DecodeBitmapResource(const ResourceBytes& bytes, DecodedPicture& picture) {
  return DecodeBitmap(bytes.data, bytes.size, picture.width, picture.height, picture.pixels);
}

bool DecodeJpegResource(const ResourceBytes& bytes, DecodedPicture& picture) {
  return Platform().decodeJpeg(bytes.data, bytes.size, picture.width, picture.height,
                               picture.pixels);
}

}  // namespace

void DecodePicturesAhead(const std::vector<int>& ids) {
  for (const int id : ids) {
    DecodedPicture picture;
    const ResourceBytes jpeg = Platform().findResource("JPG", id);
    const ResourceBytes bitmap = jpeg ? ResourceBytes{} : Platform().findResource("BITMAP", id);
    if ((jpeg && DecodeJpegResource(jpeg, picture)) ||
        (bitmap && DecodeBitmapResource(bitmap, picture))) {
      DecodedAhead()[id] = std::move(picture);
    }
  }
}

void DropPicturesDecodedAhead() {
  DecodedAhead().clear();
}

Status LoadBitmapResource(std::vector<uint32_t>& pixels, int id, int width, int height) {
  DecodedPicture picture;
  if (!TakeDecodedAhead(id, picture)) {
    const ResourceBytes bytes = Platform().findResource("BITMAP", id);
    if (!bytes) return PictureFailed("BITMAP", id, "is missing");
    if (!DecodeBitmapResource(bytes, picture)) {
      return PictureFailed("BITMAP", id, "cannot be decoded");
    }
  }
  const int decodedWidth = picture.width, decodedHeight = picture.height;
  std::vector<uint32_t>& decoded = picture.pixels;
  // The caller's size is what its texture is made with: anything else would be read wrongly.
  if (decodedWidth != width || decodedHeight != height) {
    return PictureFailed("BITMAP", id,
                         "is " + std::to_string(decodedWidth) + "x" +
                             std::to_string(decodedHeight) + ", not " + std::to_string(width) +
                             "x" + std::to_string(height));
  }
  pixels.swap(decoded);
  return kSucceeded;
}

Status LoadJpegResource(std::vector<uint32_t>& pixels, int id, int& width, int& height) {
  DecodedPicture picture;
  if (!TakeDecodedAhead(id, picture)) {
    const ResourceBytes bytes = Platform().findResource("JPG", id);
    if (!bytes) return PictureFailed("JPG", id, "is missing");
    if (!DecodeJpegResource(bytes, picture)) {
      return PictureFailed("JPG", id, "cannot be decoded (damaged or truncated)");
    }
  }
  width = picture.width;
  height = picture.height;
  pixels.swap(picture.pixels);
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

}  // namespace driftglass

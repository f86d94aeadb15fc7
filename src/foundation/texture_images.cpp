// Loading the embedded pictures, and the one recipe by which the decor and the banner turn
// them into textures.
#include "foundation/texture_images.h"

#include <map>
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

// Decodes a resource of the type "BITMAP" or "JPG".
bool Decode(const char* type, const ResourceBytes& bytes, DecodedPicture& picture) {
  return std::string_view(type) == "BITMAP"
             ? DecodeBitmap(bytes.data, bytes.size, picture.width, picture.height, picture.pixels)
             : Platform().decodeJpeg(bytes.data, bytes.size, picture.width, picture.height,
                                     picture.pixels);
}

// The picture `id` of `type`, decoded ahead or now; kFailed, logged, when it is missing or
// cannot be decoded (`undecodable` says so).
Status Obtain(const char* type, int id, const char* undecodable, DecodedPicture& picture) {
  if (TakeDecodedAhead(id, picture)) return kSucceeded;
  const ResourceBytes bytes = Platform().findResource(type, id);
  if (!bytes) return PictureFailed(type, id, "is missing");
  if (!Decode(type, bytes, picture)) return PictureFailed(type, id, undecodable);
  return kSucceeded;
}

}  // namespace

void DecodePicturesAhead(const std::vector<int>& ids) {
  for (const int id : ids) {
    for (const char* type : {"JPG", "BITMAP"}) {
      DecodedPicture picture;
      const ResourceBytes bytes = Platform().findResource(type, id);
      if (!bytes) continue;
      if (Decode(type, bytes, picture)) DecodedAhead()[id] = std::move(picture);
      break;
    }
  }
}

void DropPicturesDecodedAhead() {
  DecodedAhead().clear();
}

Status LoadBitmapResource(std::vector<uint32_t>& pixels, int id, int width, int height) {
  DecodedPicture picture;
  if (Obtain("BITMAP", id, "cannot be decoded", picture) != kSucceeded) return kFailed;
  // The caller's size is what its texture is made with: anything else would be read wrongly.
  if (picture.width != width || picture.height != height) {
    return PictureFailed("BITMAP", id,
                         "is " + std::to_string(picture.width) + "x" +
                             std::to_string(picture.height) + ", not " + std::to_string(width) +
                             "x" + std::to_string(height));
  }
  pixels.swap(picture.pixels);
  return kSucceeded;
}

Status LoadJpegResource(std::vector<uint32_t>& pixels, int id, int& width, int& height) {
  DecodedPicture picture;
  if (Obtain("JPG", id, "cannot be decoded (damaged or truncated)", picture) != kSucceeded) {
    return kFailed;
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

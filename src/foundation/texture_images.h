// The pictures compiled into the program, decoded into the layout every texture is made
// from: W x H 32-bit pixels, bytes blue, green, red, X, rows top-down (so t = 0 is the top of
// the picture). Render thread, during scene initialisation (and the decoding ahead of it).
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/status.h"

namespace driftglass {

// Picture ids.
inline constexpr int kBackdropPicture = 119;
inline constexpr int kSeaPicture = 120;
inline constexpr int kNearCliffPicture = 121;
inline constexpr int kNearCliffMaskPicture = 122;
inline constexpr int kBannerPicture = 125;

// The bitmap resource `id`, which must be `width` x `height`. kSucceeded, or kFailed,
// and then `pixels` is left as it was and the log names the picture and why.
Status LoadBitmapResource(std::vector<uint32_t>& pixels, int id, int width, int height);
// The JPEG resource `id` (type "JPG") at its own size. kSucceeded, or kFailed, and then
// neither `pixels` nor the size is touched and the log names the picture and why.
Status LoadJpegResource(std::vector<uint32_t>& pixels, int id, int& width, int& height);

// Decodes the pictures `ids` (JPEG or bitmap, whichever each is) ahead of their loads, on
// any thread, while nothing loads a picture: OpenGL is not needed for it, so it can run while
// the context is made. Each load takes its picture from here once; a picture that cannot be
// decoded is not kept, and its load fails and logs as ever. `DropPicturesDecodedAhead` frees
// any that no load took.
void DecodePicturesAhead(const std::vector<int>& ids);
void DropPicturesDecodedAhead();

// Makes a texture from a pixel block: one wrap mode for S and T, one filter for
// magnification and minification, no mipmaps.
GlTexture MakeTexture(const std::vector<uint32_t>& pixels, int width, int height,
                      GLint internalFormat, GLint wrap, GLint filter);

}  // namespace driftglass

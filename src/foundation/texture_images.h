// The pictures compiled into the program and the textures made from them: the banner's
// bitmap, decoded into W x H 32-bit pixels (bytes blue, green, red, X, rows top-down, so
// t = 0 is the top of the picture), and the seascape's compressed pictures, whose blocks go
// to the driver as they are. Render thread, during scene initialisation.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/compressed_picture.h"
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
// The compressed picture `id` (type "S3TC"), which must hold blocks of `kind`; its parts
// point into the program's resources. kSucceeded, or kFailed, with the picture untouched and
// the log naming it and why.
Status LoadCompressedPicture(CompressedPicture& picture, int id, BlockKind kind);

// Makes a texture from a pixel block: one wrap mode for S and T, one filter for
// magnification and minification, no mipmaps.
GlTexture MakeTexture(const std::vector<uint32_t>& pixels, int width, int height,
                      GLint internalFormat, GLint wrap, GLint filter);
// Makes a texture of a part, clamped at its edges: its DXT1 blocks, or with `merged` the
// DXT5 blocks MergeMaskBlocks made of it and its mask. A driver without S3TC textures, or
// whose textures are smaller than the part, is given the texels decoded (and halved until
// they fit).
GlTexture MakePartTexture(const PicturePart& part, const std::vector<uint8_t>* merged,
                          GLint filter);

}  // namespace driftglass

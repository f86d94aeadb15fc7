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
#include "foundation/textured_quad.h"

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
// Makes a texture of a part, clamped at its edges: its DXT1 blocks, or with a mask, DXT5
// blocks with the mask's alpha. A driver without S3TC textures, or whose textures are smaller
// than the part, is given the texels decoded (and halved until they fit).
GlTexture MakePartTexture(const PicturePart& colour, const PicturePart* mask, GLint filter);

// A region of a part that a view samples every frame, held decoded in a texture of its own:
// the driver samples decoded texels several times faster than blocks. Made only when asked,
// so that a view's first frame, which may end the start-up, can draw from the blocks.
class DecodedRegion {
 public:
  // From now on the region `wanted` of the part (in its texture coordinates) is needed.
  void Want(const TexturePiece& wanted) { wanted_ = wanted; }
  // True when the texture holds what is wanted.
  bool Holds() const {
    return texture_ != 0 && held_.s0 <= wanted_.s0 && held_.s1 >= wanted_.s1 &&
           held_.t0 <= wanted_.t0 && held_.t1 >= wanted_.t1;
  }
  // Decodes the wanted region, whole blocks and one more around them (linear filtering at
  // its edges reads the texels beyond), unless it is held already.
  void Hold(const PicturePart& colour, const PicturePart* mask, GLint filter);
  GLuint Texture() const { return texture_; }
  // The region held, in the part's texture coordinates.
  const TexturePiece& Held() const { return held_; }

 private:
  TexturePiece wanted_{}, held_{};
  GlTexture texture_;
};

}  // namespace driftglass

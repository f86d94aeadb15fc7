// Making and drawing the backdrop and the near shore.
#include "decor/cliffs.h"

#include "decor/backdrop_layer.h"
#include "foundation/event_log.h"
#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"

namespace driftglass {
namespace {

constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 512;

// t = 0.99, not 1, along the lower edges: with repeat wrapping and linear filtering, t = 1
// would blend the picture's top row into its bottom.
constexpr QuadPlacement kFarQuad{-1.0, 1.0, -0.06, 0.75, 0.99};
constexpr QuadPlacement kNearQuad{-1.0, 1.0, -0.75, 0.2, 0.99};

}  // namespace

void MergeMaskIntoAlpha(std::vector<uint32_t>& colour, const std::vector<uint32_t>& mask) {
  for (size_t p = 0; p < colour.size() && p < mask.size(); ++p) {
    colour[p] = (colour[p] & 0x00FFFFFFu) | (mask[p] << 24);
  }
}

FarCliffDecorClass::FarCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of FarCliffDecorClass");
  std::vector<uint32_t> pixels;
  if (LoadBitmapResource(pixels, kBackdropPicture, kPictureWidth, kPictureHeight) != 0) return;
  texture_ = MakeTexture(pixels, kPictureWidth, kPictureHeight, GL_RGB16, GL_REPEAT, GL_LINEAR);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void FarCliffDecorClass::Draw() {
  const BackdropLayer layer(texture_);
  DrawTexturedQuad(kFarQuad);
}

NearCliffDecorClass::NearCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of NearCliffDecorClass");
  std::vector<uint32_t> colour, mask;
  int width = 0, height = 0, maskWidth = 0, maskHeight = 0;
  if (LoadJpegResource(colour, kNearCliffPicture, width, height) != 0) return;
  if (LoadJpegResource(mask, kNearCliffMaskPicture, maskWidth, maskHeight) != 0 ||
      maskWidth != width || maskHeight != height) {
    return;
  }
  MergeMaskIntoAlpha(colour, mask);
  texture_ = MakeTexture(colour, width, height, GL_RGBA16, GL_REPEAT, GL_LINEAR);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void NearCliffDecorClass::Draw() {
  // The mask in the texture's alpha lets the sea show where the sky of the picture was.
  const BackdropLayer layer(texture_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawTexturedQuad(kNearQuad);
  glDisable(GL_BLEND);
}

}  // namespace driftglass

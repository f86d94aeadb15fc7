// Making and drawing the backdrop and the near shore.
#include "decor/cliffs.h"

#include <algorithm>

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

MaskBands FindMaskBands(const std::vector<uint32_t>& pixels, int width, int height,
                        double bottomT) {
  const auto rowAlphaIs = [&](int row, uint32_t alpha) {
    for (int x = 0; x < width; ++x) {
      if (pixels[static_cast<size_t>(row) * width + x] >> 24 != alpha) return false;
    }
    return true;
  };
  int clearRows = 0;  // rows 0 .. clearRows-1 are all clear
  while (clearRows < height && rowAlphaIs(clearRows, 0)) ++clearRows;
  int solidFrom = height;  // rows solidFrom .. height-1 are all solid
  while (solidFrom > 0 && rowAlphaIs(solidFrom - 1, 255)) --solidFrom;

  // A sample at t reads rows floor(t * height - 0.5) and the one below (row 0 reads the last
  // row too, by the wrap). Half a row of margin keeps both readings inside a run.
  MaskBands bands;
  bands.solidTop = bottomT;
  const double row = 1.0 / height;
  if (clearRows >= 3) {
    bands.clearTop = 1 * row;
    bands.clearBottom = (clearRows - 1) * row;
  }
  // The lowest sample must not wrap onto row 0 either.
  if (solidFrom < height && bottomT * height - 0.5 < height - 1 &&
      (solidFrom + 1) * row < bottomT) {
    bands.solidTop = std::max((solidFrom + 1) * row, bands.clearBottom);
  }
  return bands;
}

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
  bands_ = FindMaskBands(colour, width, height, kNearQuad.bottomT);
  texture_ = MakeTexture(colour, width, height, GL_RGBA16, GL_REPEAT, GL_LINEAR);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void NearCliffDecorClass::Draw() {
  // The mask in the texture's alpha lets the sea show where the sky of the picture was. Where
  // the mask is all clear nothing is drawn, and where it is all solid the shore is drawn
  // without blending: the pixels are the same, and far fewer are read and blended.
  const BackdropLayer layer(texture_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (bands_.clearTop > 0) DrawTexturedBand(kNearQuad, 0.0, bands_.clearTop);
  if (bands_.solidTop > bands_.clearBottom) {
    DrawTexturedBand(kNearQuad, bands_.clearBottom, bands_.solidTop);
  }
  glDisable(GL_BLEND);
  if (bands_.solidTop < kNearQuad.bottomT) {
    DrawTexturedBand(kNearQuad, bands_.solidTop, kNearQuad.bottomT);
  }
}

double NearCliffDecorClass::SolidBelow() const {
  return QuadHeightAt(kNearQuad, bands_.solidTop);
}

}  // namespace driftglass

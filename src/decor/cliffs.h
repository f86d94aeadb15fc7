// The two flat pictures that frame the sea: the far backdrop (sky, moon, peaks) drawn first,
// and the near shore drawn last with its mask as alpha. Render thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/layer_copy.h"
#include "foundation/textured_quad.h"

namespace driftglass {

class FarCliffDecorClass {
 public:
  FarCliffDecorClass();
  bool IsValid() const { return texture_ != 0; }
  // The window's drawing area changed (and before the first frame).
  void Reshape(const PixelRect& viewport) {
    viewport_ = viewport;
    copy_.Reshape(viewport);
  }
  // The first layer over the cleared frame.
  void Draw();
  void Release() { copy_.Release(); }

 private:
  GlTexture texture_;
  PixelRect viewport_;
  LayerCopy copy_;
};

// A masked picture cut into cells for drawing, for a texture sampled with linear filtering and
// repeat wrapping. A cell whose every sample reads only alpha 0 is left out (blending it would
// change nothing), one whose samples read only alpha 255 is drawn without blending (the
// result is the same), and the rest are blended. Neighbouring cells of one kind are merged.
struct MaskCells {
  std::vector<TexturePiece> blended;
  std::vector<TexturePiece> solid;
  double solidTop = 0;  // t from which on every piece down to the lower edge is solid
};
// Cells are cellWidth x cellHeight texels, but for a first row one texel high: the top row's
// samples also read the bottom row, by the wrap. The picture is drawn down to t = bottomT.
MaskCells CutMaskIntoCells(const std::vector<uint32_t>& pixels, int width, int height,
                           double bottomT, int cellWidth, int cellHeight);

class NearCliffDecorClass {
 public:
  NearCliffDecorClass();
  bool IsValid() const { return texture_ != 0; }
  // The window's drawing area changed (and before the first frame).
  void Reshape(const PixelRect& viewport) {
    viewport_ = viewport;
    footCopy_.Reshape(viewport);
  }
  void Draw();
  // The height (in the plane z = 0) below which the shore hides whatever lies behind it.
  double SolidBelow() const;
  void Release() { footCopy_.Release(); }

 private:
  void DrawFoot();

  GlTexture texture_;
  MaskCells cells_;      // all but the foot
  TexturePiece foot_{};  // the solid foot, the width of the picture, under cells_.solidTop
  PixelRect viewport_;
  LayerCopy footCopy_;
};

// Puts the mask's first byte (grey, so any channel would do) into the fourth byte of every
// colour pixel: 255 where the shore is, 0 where it must vanish.
void MergeMaskIntoAlpha(std::vector<uint32_t>& colour, const std::vector<uint32_t>& mask);

}  // namespace driftglass

// The two kinds of flat pictures that frame the sea: the far backdrop (sky, moon, peaks) drawn
// first, and the near shore drawn last with its mask as alpha. Each is a few parts, every
// part a textured quad where the picture lies on the plane z = 0. Render thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/layer_copy.h"
#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"

namespace driftglass {

// One part of a picture as drawn: its texture and its quad.
struct DecorPart {
  GlTexture texture;
  QuadPlacement quad;
};

class FarCliffDecorClass {
 public:
  FarCliffDecorClass();
  bool IsValid() const { return !parts_.empty(); }
  // The window's drawing area changed (and before the first frame).
  void Reshape(const PixelRect& viewport) {
    viewport_ = viewport;
    copy_.Reshape(viewport);
  }
  // The first layer over the cleared frame.
  void Draw();
  void Release() { copy_.Release(); }

 private:
  std::vector<DecorPart> parts_;
  PixelRect viewport_;
  LayerCopy copy_;
};

// A masked picture cut into cells for drawing, for a texture sampled with linear filtering and
// clamped at its edges. A cell whose every sample reads only alpha 0 is left out (blending it
// would change nothing), one whose samples read only alpha 255 is drawn without blending (the
// result is the same), and the rest are blended. Neighbouring cells of one kind are merged.
struct MaskCells {
  std::vector<TexturePiece> blended;
  std::vector<TexturePiece> solid;
  double solidTop = 1;  // t from which on every piece down to the lower edge is solid
};
// Cells are cellWidth x cellHeight texels of the width x height alphas (rows from the top).
MaskCells CutMaskIntoCells(const std::vector<uint8_t>& alpha, int width, int height, int cellWidth,
                           int cellHeight);

class NearCliffDecorClass {
 public:
  NearCliffDecorClass();
  bool IsValid() const { return !parts_.empty(); }
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
  // A part of the shore: the first is the wide one with the skyline, the others lie below it.
  struct ShorePart : DecorPart {
    MaskCells cells;      // all but the foot
    TexturePiece foot{};  // the solid foot, the width of the part, under cells.solidTop
  };
  void DrawFoot();
  void PaintFeet() const;

  std::vector<ShorePart> parts_;
  PixelRect viewport_;
  LayerCopy footCopy_;
};

}  // namespace driftglass

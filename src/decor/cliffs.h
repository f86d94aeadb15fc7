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

// A masked picture's cells, for a texture sampled with linear filtering and clamped at its
// edges. A cell whose every sample reads only alpha 0 is clear (left out: blending it would
// change nothing), one whose samples read only alpha 255 is solid (drawn without blending:
// the same result), and the rest are blended. A cell's kind is read from the whole blocks of
// 4 x 4 texels its samples touch, so it is never taken for clear or solid wrongly.
class MaskCells {
 public:
  enum class Kind : uint8_t { Clear, Solid, Blended };
  MaskCells() = default;
  // `ranges` holds each block's alphas, `blocksAcross` x `blocksDown` blocks from the top;
  // a cell is `cellAcross` x `cellDown` blocks (the last ones of a row or column may be less).
  MaskCells(const std::vector<AlphaRange>& ranges, int blocksAcross, int blocksDown, int cellAcross,
            int cellDown);
  Kind At(int column, int row) const {
    return kinds_[static_cast<size_t>(row) * columns_ + column];
  }
  // The t from which every cell down to the lower edge is solid between s0 and s1.
  double SolidFrom(double s0, double s1) const;
  // The cells between s0 and s1 above t (which SolidFrom gave), neighbours of one kind merged
  // into pieces; clear cells are left out.
  void PiecesAbove(double t, double s0, double s1, std::vector<TexturePiece>& blended,
                   std::vector<TexturePiece>& solid) const;

 private:
  // The cell columns that s0 ... s1 touches.
  std::pair<int, int> Columns(double s0, double s1) const;

  int columns_ = 0, rows_ = 0;
  int cellAcross_ = 1, cellDown_ = 1, blocksAcross_ = 0, blocksDown_ = 0;
  std::vector<Kind> kinds_;  // rows from the top
};

class NearCliffDecorClass {
 public:
  NearCliffDecorClass();
  bool IsValid() const { return !parts_.empty(); }
  // The window's drawing area changed (and before the first frame): the view in it shows the
  // plane z = 0 out to |x| = `halfWidth`. The view's matrices must be current.
  void Reshape(const PixelRect& viewport, double halfWidth);
  void Draw();
  // The height (in the plane z = 0) below which the shore hides whatever lies behind it in
  // the view.
  double SolidBelow() const;
  void Release() { footCopy_.Release(); }

 private:
  // A part of the shore: the first is the wide one with the skyline, the others lie below it.
  struct ShorePart : DecorPart {
    PicturePart colour, mask;
    MaskCells cells;
    // For the view: the pieces above its foot, and the foot, solid across the view's width.
    std::vector<TexturePiece> blended, solid;
    TexturePiece foot{};
    DecodedRegion band;  // what the pieces above the foot are drawn from every frame
  };
  void DrawFoot();
  void PaintFeet() const;

  std::vector<ShorePart> parts_;
  PixelRect viewport_;
  bool footCopied_ = false;  // the parts below the first are solid in the view: a foot to copy
  bool firstFrame_ = true;   // at this view
  LayerCopy footCopy_;
};

}  // namespace driftglass

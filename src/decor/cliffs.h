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
  // The first layer over the cleared frame, in the view of `viewport` whose matrices are
  // current. It never moves: it is painted once a view and then put from `copy`.
  void Draw(LayerCopy& copy, const PixelRect& viewport) const;

 private:
  std::vector<DecorPart> parts_;
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

  // What one view draws of the shore: what it shows of each part is solid from some row
  // down, its foot, and only the pieces above the foot are drawn every frame.
  struct View {
    struct Part {
      std::vector<TexturePiece> blended, solid;
      TexturePiece foot{};
    };
    std::vector<Part> parts;
    PixelRect viewport;
    double solidBelow = 0;    // the height (on the plane z = 0) under which the shore hides all
    bool footCopied = false;  // the parts below the first are solid in the view: a foot to copy
    LayerCopy footCopy;
  };
  // The views changed: the widest shows the plane z = 0 out to |x| = `widestHalfWidth`.
  void Reshape(double widestHalfWidth);
  // Fills `view` for the view of `viewport` that shows out to |x| = `halfWidth`.
  void Shape(View& view, const PixelRect& viewport, double halfWidth) const;
  // The last layer, in `view`, whose matrices are current. The first frame after a reshape,
  // which may end the start-up, draws from the compressed blocks.
  void Draw(View& view, bool firstFrame);

 private:
  // A part of the shore: the first is the wide one with the skyline, the others lie below it.
  struct ShorePart : DecorPart {
    PicturePart colour, mask;
    MaskCells cells;
    DecodedRegion band;  // what the pieces above the feet are drawn from every frame
  };
  void DrawFoot(View& view) const;
  void PaintFeet(const View& view) const;
  // The s range of a part that |x| <= halfWidth shows.
  static std::pair<double, double> Shown(const QuadPlacement& quad, double halfWidth);

  std::vector<ShorePart> parts_;
};

}  // namespace driftglass

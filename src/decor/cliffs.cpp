// Making and drawing the backdrop and the near shore.
#include "decor/cliffs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "decor/backdrop_layer.h"
#include "foundation/event_log.h"
#include "foundation/texture_images.h"
#include "foundation/textured_quad.h"

namespace driftglass {
namespace {

// Cells of the near shore's mask: small enough to follow its ragged edge, few enough to draw
// as a handful of quads.
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 16;

QuadPlacement PlacementOf(const PicturePart& part) {
  return QuadPlacement{part.left, part.right, part.bottom, part.top, 1.0};
}

// The rectangle around two rectangles.
PixelRect Around(const PixelRect& a, const PixelRect& b) {
  if (a.width <= 0 || a.height <= 0) return b;
  const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const int x1 = std::max(a.x + a.width, b.x + b.width);
  const int y1 = std::max(a.y + a.height, b.y + b.height);
  return PixelRect{x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

MaskCells CutMaskIntoCells(const std::vector<uint8_t>& alpha, int width, int height, int cellWidth,
                           int cellHeight) {
  enum class Kind { Clear, Solid, Blended };
  // A sample at c (in texels, s * width or t * height) reads floor(c - 0.5) and the one after,
  // clamped to the edges; a cell from c0 to c1 reads from floor(c0 - 0.5) to
  // floor(c1 - 0.5) + 1.
  const auto firstRead = [](double c) { return static_cast<int>(std::floor(c - 0.5)); };
  const auto kindOf = [&](int left, int top, int right, int bottom) {
    bool clear = true, solid = true;
    const int y0 = std::max(0, firstRead(top)), y1 = std::min(height - 1, firstRead(bottom) + 1);
    const int x0 = std::max(0, firstRead(left)), x1 = std::min(width - 1, firstRead(right) + 1);
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const uint8_t a = alpha[static_cast<size_t>(y) * width + x];
        clear = clear && a == 0;
        solid = solid && a == 255;
      }
      if (!clear && !solid) return Kind::Blended;
    }
    return clear ? Kind::Clear : solid ? Kind::Solid : Kind::Blended;
  };

  MaskCells cells;
  bool solidSoFar = true;  // every row from the bottom up to this one is one solid piece
  // Bottom up, so that the solid run at the foot of the picture is known as it grows.
  for (int top = (height - 1) / cellHeight * cellHeight; top >= 0; top -= cellHeight) {
    const int bottom = std::min(top + cellHeight, height);
    const double t0 = static_cast<double>(top) / height, t1 = static_cast<double>(bottom) / height;
    std::vector<std::pair<Kind, TexturePiece>> runs;
    for (int left = 0; left < width; left += cellWidth) {
      const int right = std::min(left + cellWidth, width);
      const double s0 = static_cast<double>(left) / width, s1 = static_cast<double>(right) / width;
      const Kind kind = kindOf(left, top, right, bottom);
      if (!runs.empty() && runs.back().first == kind) {
        runs.back().second.s1 = s1;
      } else {
        runs.push_back({kind, TexturePiece{s0, t0, s1, t1}});
      }
    }
    solidSoFar = solidSoFar && runs.size() == 1 && runs[0].first == Kind::Solid;
    if (solidSoFar) cells.solidTop = t0;
    for (const auto& [kind, piece] : runs) {
      if (kind == Kind::Clear) continue;
      std::vector<TexturePiece>& list = kind == Kind::Solid ? cells.solid : cells.blended;
      // A piece right under this one with the same width grows upwards instead.
      const auto below = std::find_if(list.begin(), list.end(), [&](const TexturePiece& p) {
        return p.t0 == piece.t1 && p.s0 == piece.s0 && p.s1 == piece.s1;
      });
      if (below != list.end()) {
        below->t0 = piece.t0;
      } else {
        list.push_back(piece);
      }
    }
  }
  return cells;
}

FarCliffDecorClass::FarCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of FarCliffDecorClass");
  CompressedPicture picture;
  if (LoadCompressedPicture(picture, kBackdropPicture, BlockKind::Colour) != kSucceeded) return;
  for (const PicturePart& part : picture.parts) {
    parts_.push_back({MakePartTexture(part, nullptr, GL_LINEAR), PlacementOf(part)});
  }
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void FarCliffDecorClass::Draw() {
  // The backdrop never moves: it is painted once for the window's size, then copied. Its
  // parts lie so that wherever the rectangle around them meets a view, they cover it.
  copy_.Draw(
      [this] {
        PixelRect around;
        for (const DecorPart& part : parts_)
          around = Around(around, QuadWindowRect(part.quad, viewport_));
        return around;
      },
      [this] {
        const BackdropLayer layer(parts_[0].texture);
        for (const DecorPart& part : parts_) {
          glBindTexture(GL_TEXTURE_2D, part.texture);
          DrawTexturedQuad(part.quad);
        }
      });
}

NearCliffDecorClass::NearCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of NearCliffDecorClass");
  CompressedPicture colour, mask;
  if (LoadCompressedPicture(colour, kNearCliffPicture, BlockKind::Colour) != kSucceeded ||
      LoadCompressedPicture(mask, kNearCliffMaskPicture, BlockKind::Mask) != kSucceeded) {
    return;
  }
  if (!MaskFits(colour, mask)) {
    TheEventLog().Write(kError, "Picture 122 (S3TC) does not fit picture 121");
    return;
  }
  std::vector<ShorePart> parts;
  for (size_t i = 0; i < colour.parts.size(); ++i) {
    const PicturePart& part = colour.parts[i];
    ShorePart shore;
    shore.cells = CutMaskIntoCells(DecodeMaskBlocks(mask.parts[i]), part.width, part.height,
                                   kCellWidth, kCellHeight);
    // Every solid piece under the solid top is part of the foot, which is drawn on its own.
    shore.foot = TexturePiece{0.0, shore.cells.solidTop, 1.0, 1.0};
    std::erase_if(shore.cells.solid,
                  [&](const TexturePiece& p) { return p.t0 >= shore.cells.solidTop; });
    // The mask in the texture's alpha lets the sea show where the sky of the picture was.
    const std::vector<uint8_t> merged = MergeMaskBlocks(part, mask.parts[i]);
    shore.texture = MakePartTexture(part, &merged, GL_LINEAR);
    shore.quad = PlacementOf(part);
    parts.push_back(std::move(shore));
  }
  parts_ = std::move(parts);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void NearCliffDecorClass::Draw() {
  // Only the ragged edge is blended: clear cells are left out and solid ones drawn as they are.
  const BackdropLayer layer(parts_[0].texture);
  for (const ShorePart& part : parts_) {
    glBindTexture(GL_TEXTURE_2D, part.texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawTexturedPieces(part.quad, part.cells.blended);
    glDisable(GL_BLEND);
    DrawTexturedPieces(part.quad, part.cells.solid);
  }
  DrawFoot();
}

void NearCliffDecorClass::PaintFeet() const {
  for (const ShorePart& part : parts_) {
    if (part.foot.t0 >= part.foot.t1) continue;
    glBindTexture(GL_TEXTURE_2D, part.texture);
    DrawTexturedPieces(part.quad, {&part.foot, 1});
  }
}

void NearCliffDecorClass::DrawFoot() {
  // The foot never changes, so like the backdrop it is painted once for the window's size and
  // then copied, but for its top rows: the pieces above share those, so they are painted
  // every frame. The copy is taken only where the foot spans the view's width. The parts
  // below the first are solid rock over the width of any view that reaches down to them.
  const PixelRect& viewport = viewport_;
  const auto area = [&] {
    const QuadPlacement& first = parts_[0].quad;
    double bottom = first.bottom;
    for (const ShorePart& part : parts_) bottom = std::min(bottom, part.quad.bottom);
    PixelRect rect = QuadWindowRect({first.left, first.right, bottom, SolidBelow(), 1.0}, viewport);
    if (rect.x > viewport.x || rect.x + rect.width < viewport.x + viewport.width)
      return PixelRect{};
    rect.height = std::max(0, rect.height - 2);
    return rect;
  };
  if (!footCopy_.Draw(area, [this] { PaintFeet(); })) return;
  const int above = footCopy_.Copied().y + footCopy_.Copied().height;
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport.x, above, viewport.width, std::max(0, viewport.y + viewport.height - above));
  PaintFeet();
  glDisable(GL_SCISSOR_TEST);
}

double NearCliffDecorClass::SolidBelow() const {
  return QuadHeightAt(parts_[0].quad, parts_[0].cells.solidTop);
}

}  // namespace driftglass

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

MaskCells::MaskCells(const std::vector<AlphaRange>& ranges, int blocksAcross, int blocksDown,
                     int cellAcross, int cellDown)
    : columns_((blocksAcross + cellAcross - 1) / cellAcross),
      rows_((blocksDown + cellDown - 1) / cellDown),
      cellAcross_(cellAcross),
      cellDown_(cellDown),
      blocksAcross_(blocksAcross),
      blocksDown_(blocksDown),
      kinds_(static_cast<size_t>(columns_) * rows_) {
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      // Samples near a cell's edge also read the texel beyond it: the blocks around count.
      const int x0 = std::max(0, column * cellAcross - 1);
      const int x1 = std::min(blocksAcross - 1, (column + 1) * cellAcross);
      const int y0 = std::max(0, row * cellDown - 1);
      const int y1 = std::min(blocksDown - 1, (row + 1) * cellDown);
      bool clear = true, solid = true;
      for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
          const AlphaRange& range = ranges[static_cast<size_t>(y) * blocksAcross + x];
          clear = clear && range.high == 0;
          solid = solid && range.low == 255;
        }
      }
      kinds_[static_cast<size_t>(row) * columns_ + column] = clear   ? Kind::Clear
                                                             : solid ? Kind::Solid
                                                                     : Kind::Blended;
    }
  }
}

std::pair<int, int> MaskCells::Columns(double s0, double s1) const {
  const double blocks = blocksAcross_;
  const int first =
      std::clamp(static_cast<int>(std::floor(s0 * blocks)) / cellAcross_, 0, columns_ - 1);
  const int last =
      std::clamp((static_cast<int>(std::ceil(s1 * blocks)) - 1) / cellAcross_, 0, columns_ - 1);
  return {first, last};
}

double MaskCells::SolidFrom(double s0, double s1) const {
  const auto [first, last] = Columns(s0, s1);
  int row = rows_;
  for (; row > 0; --row) {
    bool solid = true;
    for (int column = first; column <= last && solid; ++column) {
      solid = At(column, row - 1) == Kind::Solid;
    }
    if (!solid) break;
  }
  return std::min(1.0, static_cast<double>(row * cellDown_) / blocksDown_);
}

void MaskCells::PiecesAbove(double t, double s0, double s1, std::vector<TexturePiece>& blended,
                            std::vector<TexturePiece>& solid) const {
  const auto [first, last] = Columns(s0, s1);
  const auto sAt = [&](int column) {
    return std::min(1.0, static_cast<double>(column * cellAcross_) / blocksAcross_);
  };
  const auto tAt = [&](int row) {
    return std::min(1.0, static_cast<double>(row * cellDown_) / blocksDown_);
  };
  for (int row = 0; row < rows_ && tAt(row) < t; ++row) {
    for (int column = first; column <= last;) {
      const Kind kind = At(column, row);
      int end = column + 1;
      while (end <= last && At(end, row) == kind) ++end;
      if (kind != Kind::Clear) {
        const TexturePiece piece{sAt(column), tAt(row), sAt(end), tAt(row + 1)};
        std::vector<TexturePiece>& list = kind == Kind::Solid ? solid : blended;
        // A piece right above this one with the same width grows downwards instead.
        const auto above = std::find_if(list.begin(), list.end(), [&](const TexturePiece& p) {
          return p.t1 == piece.t0 && p.s0 == piece.s0 && p.s1 == piece.s1;
        });
        if (above != list.end()) {
          above->t1 = piece.t1;
        } else {
          list.push_back(piece);
        }
      }
      column = end;
    }
  }
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

void FarCliffDecorClass::Draw(LayerCopy& copy, const PixelRect& viewport) const {
  // Its parts lie so that wherever the rectangle around them meets a view, they cover it.
  copy.Draw(
      [&] {
        PixelRect around;
        for (const DecorPart& part : parts_) {
          around = Around(around, QuadWindowRect(part.quad, viewport));
        }
        return around;
      },
      [&] {
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
    shore.colour = part;
    shore.mask = mask.parts[i];
    shore.cells = MaskCells(MaskBlockRanges(mask.parts[i]), part.width / 4, part.height / 4,
                            kCellWidth / 4, kCellHeight / 4);
    // The mask in the texture's alpha lets the sea show where the sky of the picture was.
    shore.texture = MakePartTexture(part, &mask.parts[i], GL_LINEAR);
    shore.quad = PlacementOf(part);
    parts.push_back(std::move(shore));
  }
  parts_ = std::move(parts);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

std::pair<double, double> NearCliffDecorClass::Shown(const QuadPlacement& quad, double halfWidth) {
  const double width = quad.right - quad.left;
  return {std::clamp((-halfWidth - quad.left) / width, 0.0, 1.0),
          std::clamp((halfWidth - quad.left) / width, 0.0, 1.0)};
}

void NearCliffDecorClass::Reshape(double widestHalfWidth) {
  // Every view is centred on x = 0: the widest shows the most columns, and its feet lie
  // lowest, so what it draws every frame holds what any narrower view draws.
  for (ShorePart& part : parts_) {
    const auto [s0, s1] = Shown(part.quad, widestHalfWidth);
    part.band.Want(TexturePiece{s0, 0.0, s1, part.cells.SolidFrom(s0, s1)});
  }
}

void NearCliffDecorClass::Shape(View& view, const PixelRect& viewport, double halfWidth) const {
  view.viewport = viewport;
  view.footCopy.Reshape(viewport);
  view.footCopied = true;
  view.parts.assign(parts_.size(), {});
  for (size_t i = 0; i < parts_.size(); ++i) {
    const ShorePart& part = parts_[i];
    View::Part& shown = view.parts[i];
    const auto [s0, s1] = Shown(part.quad, halfWidth);
    const double footTop = part.cells.SolidFrom(s0, s1);
    shown.foot = TexturePiece{0.0, footTop, 1.0, 1.0};
    part.cells.PiecesAbove(footTop, s0, s1, shown.blended, shown.solid);
    if (i > 0 && footTop > 0) view.footCopied = false;
  }
  view.solidBelow = QuadHeightAt(parts_[0].quad, view.parts[0].foot.t0);
}

void NearCliffDecorClass::Draw(View& view, bool firstFrame) {
  // Only the ragged edge is blended: clear cells are left out and solid ones drawn as they are.
  const BackdropLayer layer(parts_[0].texture);
  for (size_t i = 0; i < parts_.size(); ++i) {
    ShorePart& part = parts_[i];
    const View::Part& shown = view.parts[i];
    if (shown.blended.empty() && shown.solid.empty()) continue;
    if (!firstFrame) part.band.Hold(part.colour, &part.mask, GL_LINEAR);
    const bool decoded = part.band.Holds();
    const TexturePiece* held = decoded ? &part.band.Held() : nullptr;
    glBindTexture(GL_TEXTURE_2D, decoded ? part.band.Texture() : part.texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawTexturedPieces(part.quad, shown.blended, held);
    glDisable(GL_BLEND);
    DrawTexturedPieces(part.quad, shown.solid, held);
  }
  DrawFoot(view);
}

void NearCliffDecorClass::PaintFeet(const View& view) const {
  for (size_t i = 0; i < parts_.size(); ++i) {
    const TexturePiece& foot = view.parts[i].foot;
    if (foot.t0 >= foot.t1) continue;
    glBindTexture(GL_TEXTURE_2D, parts_[i].texture);
    DrawTexturedPieces(parts_[i].quad, {&foot, 1});
  }
}

void NearCliffDecorClass::DrawFoot(View& view) const {
  // The foot never changes, so like the backdrop it is painted once for the view and then
  // copied, but for its top rows: the pieces above share those, so they are painted every
  // frame. The copy is taken only where the foot spans the view's width, down to the view's
  // lower edge.
  const PixelRect& viewport = view.viewport;
  const auto area = [&] {
    if (!view.footCopied) return PixelRect{};
    const QuadPlacement& first = parts_[0].quad;
    double bottom = first.bottom;
    for (const ShorePart& part : parts_) bottom = std::min(bottom, part.quad.bottom);
    PixelRect rect =
        QuadWindowRect({first.left, first.right, bottom, view.solidBelow, 1.0}, viewport);
    if (rect.x > viewport.x || rect.x + rect.width < viewport.x + viewport.width)
      return PixelRect{};
    rect.height = std::max(0, rect.height - 2);
    return rect;
  };
  if (!view.footCopy.Draw(area, [&] { PaintFeet(view); })) return;
  const int above = view.footCopy.Copied().y + view.footCopy.Copied().height;
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport.x, above, viewport.width, std::max(0, viewport.y + viewport.height - above));
  PaintFeet(view);
  glDisable(GL_SCISSOR_TEST);
}

}  // namespace driftglass

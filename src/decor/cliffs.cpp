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

constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 512;

// t = 0.99, not 1, along the lower edges: with repeat wrapping and linear filtering, t = 1
// would blend the picture's top row into its bottom.
constexpr QuadPlacement kFarQuad{-1.0, 1.0, -0.06, 0.75, 0.99};
constexpr QuadPlacement kNearQuad{-1.0, 1.0, -0.75, 0.2, 0.99};
// Cells of the near shore's mask: small enough to follow its ragged edge, few enough to draw
// as a handful of quads.
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 16;

}  // namespace

MaskCells CutMaskIntoCells(const std::vector<uint32_t>& pixels, int width, int height,
                           double bottomT, int cellWidth, int cellHeight) {
  enum class Kind { Clear, Solid, Blended };
  // A sample at c (in texels, s * width or t * height) reads floor(c - 0.5) and the one after;
  // a cell from c0 to c1 thus reads from floor(c0 - 0.5) to floor(c1 - 0.5) + 1, wrapped.
  const auto firstRead = [](double c) { return static_cast<int>(std::floor(c - 0.5)); };
  const auto kindOf = [&](double s0, double t0, double s1, double t1) {
    bool clear = true, solid = true;
    for (int row = firstRead(t0 * height); row <= firstRead(t1 * height) + 1; ++row) {
      const size_t y = static_cast<size_t>((row % height + height) % height);
      for (int column = firstRead(s0 * width); column <= firstRead(s1 * width) + 1; ++column) {
        const uint32_t alpha = pixels[y * width + (column % width + width) % width] >> 24;
        clear = clear && alpha == 0;
        solid = solid && alpha == 255;
      }
      if (!clear && !solid) return Kind::Blended;
    }
    return clear ? Kind::Clear : solid ? Kind::Solid : Kind::Blended;
  };

  MaskCells cells;
  cells.solidTop = bottomT;
  bool solidSoFar = true;  // every row from the bottom up to this one is one solid piece
  std::vector<std::pair<double, double>> rows;
  for (int top = 0; top < height && top < bottomT * height;) {
    const int bottom = top == 0 ? 1 : top + cellHeight;
    rows.emplace_back(static_cast<double>(top) / height,
                      std::min(static_cast<double>(bottom) / height, bottomT));
    top = bottom;
  }
  // Bottom up, so that the solid run at the foot of the picture is known as it grows.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    const auto [t0, t1] = *row;
    std::vector<std::pair<Kind, TexturePiece>> runs;
    for (int left = 0; left < width; left += cellWidth) {
      const double s0 = static_cast<double>(left) / width;
      const double s1 = static_cast<double>(std::min(left + cellWidth, width)) / width;
      const Kind kind = kindOf(s0, t0, s1, t1);
      if (!runs.empty() && runs.back().first == kind) {
        runs.back().second.s1 = s1;
      } else {
        runs.push_back({kind, TexturePiece{s0, t0, s1, t1}});
      }
    }
    solidSoFar = solidSoFar && runs.size() == 1 && runs[0].first == Kind::Solid;
    if (solidSoFar) cells.solidTop = t0;
    for (const auto& run : runs) {
      const Kind kind = run.first;
      const TexturePiece& piece = run.second;
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

void MergeMaskIntoAlpha(std::vector<uint32_t>& colour, const std::vector<uint32_t>& mask) {
  for (size_t p = 0; p < colour.size() && p < mask.size(); ++p) {
    colour[p] = (colour[p] & 0x00FFFFFFu) | (mask[p] << 24);
  }
}

FarCliffDecorClass::FarCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of FarCliffDecorClass");
  std::vector<uint32_t> pixels;
  if (LoadBitmapResource(pixels, kBackdropPicture, kPictureWidth, kPictureHeight) != kSucceeded)
    return;
  texture_ = MakeTexture(pixels, kPictureWidth, kPictureHeight, GL_RGB8, GL_REPEAT, GL_LINEAR);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void FarCliffDecorClass::Draw() {
  // The backdrop never moves: it is painted once for the window's size, then copied.
  copy_.Draw([this] { return QuadWindowRect(kFarQuad, viewport_); },
             [this] {
               const BackdropLayer layer(texture_);
               DrawTexturedQuad(kFarQuad);
             });
}

NearCliffDecorClass::NearCliffDecorClass() {
  TheEventLog().Write(kNotify, "Initialization of NearCliffDecorClass");
  std::vector<uint32_t> colour, mask;
  int width = 0, height = 0, maskWidth = 0, maskHeight = 0;
  if (LoadJpegResource(colour, kNearCliffPicture, width, height) != kSucceeded) return;
  if (LoadJpegResource(mask, kNearCliffMaskPicture, maskWidth, maskHeight) != kSucceeded ||
      maskWidth != width || maskHeight != height) {
    return;
  }
  MergeMaskIntoAlpha(colour, mask);
  cells_ = CutMaskIntoCells(colour, width, height, kNearQuad.bottomT, kCellWidth, kCellHeight);
  // Every solid piece under the solid top is part of the foot, which is drawn on its own.
  foot_ = TexturePiece{0.0, cells_.solidTop, 1.0, kNearQuad.bottomT};
  std::erase_if(cells_.solid, [&](const TexturePiece& p) { return p.t0 >= cells_.solidTop; });
  texture_ = MakeTexture(colour, width, height, GL_RGBA8, GL_REPEAT, GL_LINEAR);
  TheEventLog().Write(kNotify, "Bitmap is loaded");
}

void NearCliffDecorClass::Draw() {
  // The mask in the texture's alpha lets the sea show where the sky of the picture was. Only
  // the ragged edge is blended: clear cells are left out and solid ones drawn as they are.
  const BackdropLayer layer(texture_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawTexturedPieces(kNearQuad, cells_.blended);
  glDisable(GL_BLEND);
  DrawTexturedPieces(kNearQuad, cells_.solid);
  DrawFoot();
}

void NearCliffDecorClass::DrawFoot() {
  if (foot_.t0 >= foot_.t1) return;
  // The foot never changes, so like the backdrop it is painted once for the window's size and
  // then copied, but for its top rows: the pieces above share those, so they are painted
  // every frame. The copy is taken only where the foot spans the view's width.
  const PixelRect& viewport = viewport_;
  const auto area = [&] {
    PixelRect rect = QuadWindowRect(
        {kNearQuad.left, kNearQuad.right, kNearQuad.bottom, SolidBelow(), kNearQuad.bottomT},
        viewport);
    if (rect.x > viewport.x || rect.x + rect.width < viewport.x + viewport.width)
      return PixelRect{};
    rect.height = std::max(0, rect.height - 2);
    return rect;
  };
  const auto paint = [this] { DrawTexturedPieces(kNearQuad, {&foot_, 1}); };
  if (!footCopy_.Draw(area, paint)) return;
  const int above = footCopy_.Copied().y + footCopy_.Copied().height;
  glEnable(GL_SCISSOR_TEST);
  glScissor(viewport.x, above, viewport.width, std::max(0, viewport.y + viewport.height - above));
  paint();
  glDisable(GL_SCISSOR_TEST);
}

double NearCliffDecorClass::SolidBelow() const {
  return QuadHeightAt(kNearQuad, cells_.solidTop);
}

}  // namespace driftglass

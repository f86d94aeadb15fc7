// A small hand-drawn stroke font: each glyph is a few polylines on a grid where the baseline
// is y = 0 and capitals reach y = 1. Text is drawn as smooth, anti-aliased pen strokes.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace artwork {

struct Point {
  float x = 0, y = 0;
};
using Stroke = std::vector<Point>;

struct TextStyle {
  float capHeight = 40;   // pixels
  float penWidth = 4;     // pixels
  float slant = 0.18f;    // italic lean, x per y
  float spacing = 0.12f;  // extra advance between glyphs, in cap heights
};

// The strokes of `text` laid out from (x, baseline) in image pixels (y down); returns the
// pen's end x. Characters without a glyph advance like a blank.
float LayoutText(const std::string& text, float x, float baseline, const TextStyle& style,
                 std::vector<Stroke>& strokes);

// Draws the strokes with pen `width`: opaque `color` where the pen passes, plus an optional
// soft glow of radius `glowRadius` (0 for none).
void DrawStrokes(Image& image, const std::vector<Stroke>& strokes, float width, const Color& color,
                 float glowRadius, const Color& glow, float glowStrength);

}  // namespace artwork

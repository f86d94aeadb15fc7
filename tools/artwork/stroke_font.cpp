// Glyph shapes and the stroke renderer.
#include "stroke_font.h"

#include <cmath>
#include <map>

namespace artwork {
namespace {

constexpr float kPi = 3.14159265f;

struct Glyph {
  float advance = 0.5f;
  std::vector<Stroke> strokes;
};

// An elliptical arc from angle a0 to a1 (degrees, counter-clockwise positive).
Stroke Arc(float cx, float cy, float rx, float ry, float a0, float a1) {
  Stroke s;
  const int steps = 28;
  for (int i = 0; i <= steps; ++i) {
    const float a = (a0 + (a1 - a0) * i / steps) * kPi / 180.0f;
    s.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return s;
}

Stroke Line(std::initializer_list<Point> points) {
  return Stroke(points);
}

// Joins strokes whose ends meet, so a glyph reads as one pen movement.
Stroke Then(Stroke a, const Stroke& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::map<char, Glyph>& Glyphs() {
  static const std::map<char, Glyph> glyphs = [] {
    std::map<char, Glyph> g;
    const float xh = 0.62f;  // x-height
    g['W'] = {1.05f, {Line({{0, 1}, {0.24f, 0}, {0.5f, 0.72f}, {0.76f, 0}, {1.0f, 1}})}};
    g['D'] = {0.86f,
              {Then(Then(Line({{0.06f, 0}, {0.06f, 1}, {0.36f, 1}}),
                         Arc(0.36f, 0.5f, 0.44f, 0.5f, 90, -90)),
                    Line({{0.36f, 0}, {0.06f, 0}}))}};
    g['e'] = {
        0.62f,
        {Then(Line({{0.04f, 0.32f}, {0.58f, 0.32f}}), Arc(0.31f, 0.31f, 0.27f, 0.31f, 0, 318))}};
    g['c'] = {0.58f, {Arc(0.31f, 0.31f, 0.27f, 0.31f, 42, 318)}};
    g['o'] = {0.64f, {Arc(0.31f, 0.31f, 0.28f, 0.31f, 0, 360)}};
    g['a'] = {0.66f, {Arc(0.3f, 0.31f, 0.27f, 0.31f, 0, 360), Line({{0.57f, xh}, {0.57f, 0}})}};
    g['g'] = {
        0.66f,
        {Arc(0.3f, 0.31f, 0.27f, 0.31f, 0, 360),
         Then(Line({{0.57f, xh}, {0.57f, -0.08f}}), Arc(0.32f, -0.08f, 0.25f, 0.2f, 0, -165))}};
    g['l'] = {
        0.26f,
        {Then(Line({{0.09f, 1.05f}, {0.09f, 0.1f}}), Arc(0.19f, 0.1f, 0.1f, 0.1f, 180, 270))}};
    g['i'] = {0.24f, {Line({{0.09f, xh}, {0.09f, 0}}), Line({{0.09f, 0.86f}, {0.095f, 0.87f}})}};
    g['t'] = {
        0.42f,
        {Then(Line({{0.17f, 0.92f}, {0.17f, 0.12f}}), Arc(0.29f, 0.12f, 0.12f, 0.12f, 180, 300)),
         Line({{0.02f, xh}, {0.38f, xh}})}};
    g['f'] = {0.4f,
              {Then(Line({{0.14f, 0}, {0.14f, 0.8f}}), Arc(0.31f, 0.8f, 0.17f, 0.2f, 180, 40)),
               Line({{0.0f, xh}, {0.34f, xh}})}};
    g['r'] = {0.44f, {Line({{0.06f, xh}, {0.06f, 0}}), Arc(0.31f, 0.36f, 0.25f, 0.26f, 180, 70)}};
    g['m'] = {0.84f,
              {Then(Then(Line({{0.05f, xh}, {0.05f, 0}}), Line({{0.05f, 0.44f}})),
                    Then(Then(Arc(0.23f, 0.44f, 0.18f, 0.18f, 180, 0), Line({{0.41f, 0}})),
                         Then(Line({{0.41f, 0.44f}}), Then(Arc(0.59f, 0.44f, 0.18f, 0.18f, 180, 0),
                                                           Line({{0.77f, 0}})))))}};
    g['s'] = {0.5f,
              {Then(Arc(0.25f, 0.465f, 0.2f, 0.155f, 25, 270),
                    Arc(0.25f, 0.155f, 0.2f, 0.155f, 90, -155))}};
    g['#'] = {0.82f,
              {Line({{0.2f, 0.02f}, {0.32f, 0.86f}}), Line({{0.5f, 0.02f}, {0.62f, 0.86f}}),
               Line({{0.05f, 0.3f}, {0.72f, 0.3f}}), Line({{0.1f, 0.58f}, {0.77f, 0.58f}})}};
    g['1'] = {0.56f, {Line({{0.12f, 0.78f}, {0.36f, 1}, {0.36f, 0}})}};
    g[' '] = {0.34f, {}};
    return g;
  }();
  return glyphs;
}

float SegmentDistance(float px, float py, const Point& a, const Point& b) {
  const float vx = b.x - a.x, vy = b.y - a.y;
  const float wx = px - a.x, wy = py - a.y;
  const float length2 = vx * vx + vy * vy;
  const float t = length2 > 0 ? std::clamp((wx * vx + wy * vy) / length2, 0.0f, 1.0f) : 0.0f;
  const float dx = wx - vx * t, dy = wy - vy * t;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

float LayoutText(const std::string& text, float x, float baseline, const TextStyle& style,
                 std::vector<Stroke>& strokes) {
  const float size = style.capHeight;
  for (char c : text) {
    auto found = Glyphs().find(c);
    const Glyph& glyph = found != Glyphs().end() ? found->second : Glyphs().at(' ');
    for (const Stroke& stroke : glyph.strokes) {
      Stroke placed;
      for (const Point& p : stroke) {
        placed.push_back({x + (p.x + p.y * style.slant) * size, baseline - p.y * size});
      }
      strokes.push_back(placed);
    }
    x += (glyph.advance + style.spacing) * size;
  }
  return x;
}

void DrawStrokes(Image& image, const std::vector<Stroke>& strokes, float width, const Color& color,
                 float glowRadius, const Color& glow, float glowStrength) {
  const float reach = width + glowRadius * 3 + 2;
  // Distance to the nearest stroke for every pixel near the text.
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const Stroke& stroke : strokes) {
    for (const Point& p : stroke) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  }
  const int x0 = std::max(0, static_cast<int>(minX - reach));
  const int x1 = std::min(image.Width() - 1, static_cast<int>(maxX + reach));
  const int y0 = std::max(0, static_cast<int>(minY - reach));
  const int y1 = std::min(image.Height() - 1, static_cast<int>(maxY + reach));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      float nearest = 1e9f;
      for (const Stroke& stroke : strokes) {
        if (stroke.size() == 1)
          nearest = std::min(nearest, SegmentDistance(px, py, stroke[0], stroke[0]));
        for (size_t i = 0; i + 1 < stroke.size(); ++i) {
          nearest = std::min(nearest, SegmentDistance(px, py, stroke[i], stroke[i + 1]));
        }
      }
      if (glowRadius > 0) {
        const float g = std::exp(-(nearest * nearest) / (2 * glowRadius * glowRadius));
        image.Add(x, y, glow, g * glowStrength);
      }
      image.Blend(x, y, color, Clamp01(width / 2 + 0.5f - nearest));
    }
  }
}

}  // namespace artwork

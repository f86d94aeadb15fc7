// Painting the seascape. Each picture is painted in canvas units of its own, kept from the
// scale it was first designed at: across, 512 units for each unit of the plane z = 0, with
// x = 0 at the left edge of the 4:3 view and 1024 at its right; down, the backdrop's units
// start at y = 0.75 on the plane, the shore's at y = 0.2. A texel of any part is painted at
// its centre's canvas position, so the parts meet without a seam and every detail keeps its
// size on the screen whatever the texel density.
#include "seascape.h"

#include <cmath>
#include <functional>
#include <vector>

namespace artwork {
namespace {

// Where the pictures sit on the plane z = 0 (see the decor and the sea's grid).
constexpr float kHorizonY = -0.0548462f;  // the sea's far edge
constexpr float kSeaNearY = -0.5333333f;  // the sea's near edge
constexpr float kBackdropBottom = -0.06f;

// Canvas units: 512 across per plane unit; down, 625.8 per unit for the backdrop (from y =
// 0.75) and 533.6 for the shore (from y = 0.2).
constexpr float kAcross = 512.0f;
constexpr float kSkyDown = 0.99f * 512 / 0.81f;
constexpr float kShoreDown = 0.99f * 512 / 0.95f;
float CanvasX(float x) {
  return (x + 1.0f) * kAcross;
}
float SkyY(float y) {
  return (0.75f - y) * kSkyDown;
}
float ShoreY(float y) {
  return (0.2f - y) * kShoreDown;
}

// A part on the texel lattice of the wide parts: `column` texels from their left edge, its
// top at `top` on the plane.
PlanePart LatticePart(int column, int columns, float top, int rows) {
  const float left = kLeftEdge + column / kTexelsPerUnit;
  return PlanePart(left, left + columns / kTexelsPerUnit, top - rows / kTexelsPerUnit, top, columns,
                   rows);
}

// The parts over the 4:3 view's width only: 1520 texels, centred.
constexpr int kNarrowColumn = (kWideTexels - 1520) / 2;
constexpr int kNarrowTexels = 1520;

// Calls paint(x, y, colour) for every texel of every part, with its canvas position.
void ForEachTexel(std::vector<PlanePart>& parts, const std::function<float(float)>& down,
                  const std::function<void(float, float, Color&)>& paint) {
  for (PlanePart& part : parts) {
    for (int row = 0; row < part.colour.Height(); ++row) {
      const float y = down(part.Y(static_cast<float>(row)));
      for (int column = 0; column < part.colour.Width(); ++column) {
        paint(CanvasX(part.X(static_cast<float>(column))), y, part.colour.At(column, row));
      }
    }
  }
}

// Light added around a backdrop canvas point: `amount` times a bell half a canvas unit wide,
// a glow twice as wide, and for a bright star four short rays along the axes.
void Splat(std::vector<PlanePart>& parts, float cx, float cy, const Color& tint, float amount,
           float glow, float rays) {
  const auto ray = [](float along, float across) {
    const float a = std::abs(along);
    return a < 1.5f || a > 4.5f ? 0.0f : std::exp(-across * across / 0.3f) / a;
  };
  for (PlanePart& part : parts) {
    // The texel nearest canvas (cx, cy), and 6 texels around it (over 4 canvas units).
    const int column = static_cast<int>((cx / kAcross - 1.0f - part.left) * kTexelsPerUnit);
    const int row = static_cast<int>((part.top - (0.75f - cy / kSkyDown)) * kTexelsPerUnit);
    for (int r = std::max(0, row - 6); r <= std::min(part.colour.Height() - 1, row + 6); ++r) {
      const float dy = SkyY(part.Y(static_cast<float>(r))) - cy;
      for (int c = std::max(0, column - 7); c <= std::min(part.colour.Width() - 1, column + 7);
           ++c) {
        const float dx = CanvasX(part.X(static_cast<float>(c))) - cx;
        const float d2 = dx * dx + dy * dy;
        const float light = amount * std::exp(-d2 / 0.5f) + glow * std::exp(-d2 / 2.0f) +
                            rays * (ray(dx, dy) + ray(dy, dx));
        part.colour.Add(c, r, tint, light);
      }
    }
  }
}

const Color kMoonLight{0.98f, 0.96f, 0.88f};
const Color kMist{0.52f, 0.58f, 0.68f};

// The moon, in backdrop canvas units, and its radius across (it is round on the screen).
constexpr float kMoonX = 300, kMoonY = 150;
constexpr float kMoonRadiusX = 24;
constexpr float kMoonRadiusY = kMoonRadiusX * kSkyDown / kAcross;

Color Scale(const Color& c, float s) {
  return {c.r * s, c.g * s, c.b * s};
}
Color Plus(const Color& a, const Color& b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// The backdrop's colour at a canvas point, sampled from its parts (clamped at their edges).
Color SampleBackdrop(const std::vector<PlanePart>& parts, float x, float y) {
  const float px = x / kAcross - 1.0f, py = 0.75f - y / kSkyDown;
  const PlanePart& part = py > parts[0].top && parts.size() > 1 ? parts[1] : parts[0];
  const Image& image = part.colour;
  const float fx =
      std::clamp((px - part.left) * kTexelsPerUnit - 0.5f, 0.0f, image.Width() - 1.001f);
  const float fy =
      std::clamp((part.top - py) * kTexelsPerUnit - 0.5f, 0.0f, image.Height() - 1.001f);
  const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  const Color top = Mix(image.At(x0, y0), image.At(x0 + 1, y0), fx - x0);
  const Color bottom = Mix(image.At(x0, y0 + 1), image.At(x0 + 1, y0 + 1), fx - x0);
  return Mix(top, bottom, fy - y0);
}

// The peaks of one range along the whole width, as the highest slope at each canvas column.
struct Range {
  float baseRow, height, spacing;
  uint32_t seed;
  Color colour;
  float haze;
};
struct Peak {
  float x, height, slope;
};
std::vector<Peak> PlacePeaks(const Range& range, float from, float to) {
  std::vector<Peak> peaks;
  // From the 4:3 view's left edge rightwards, and from there leftwards with a sequence of its
  // own, so that the peaks of the 4:3 view stay where they were first painted.
  Random place(range.seed);
  for (float x = -range.spacing; x < to + range.spacing;
       x += range.spacing * (0.55f + place.Next() * 0.9f)) {
    peaks.push_back(
        {x, range.height * (0.35f + 0.65f * place.Next()), 0.55f + place.Next() * 0.7f});
  }
  Random left(range.seed * 7 + 3);
  for (float x = -range.spacing; x > from - range.spacing;) {
    x -= range.spacing * (0.55f + left.Next() * 0.9f);
    peaks.push_back({x, range.height * (0.35f + 0.65f * left.Next()), 0.55f + left.Next() * 0.7f});
  }
  return peaks;
}

}  // namespace

std::vector<PlanePart> PaintBackdrop() {
  std::vector<PlanePart> parts;
  // The wide band from just under the horizon to just above a 4:3 view's top, and the sky
  // above it over the 4:3 view's width.
  parts.push_back(LatticePart(0, kWideTexels, kBackdropBottom + 616 / kTexelsPerUnit, 616));
  parts.push_back(
      LatticePart(kNarrowColumn, kNarrowTexels, parts[0].top + 772 / kTexelsPerUnit, 772));
  const auto down = [](float y) { return SkyY(y); };
  const float horizonRow = SkyY(kHorizonY);
  // Sky: deep blue overhead, paler and a little violet towards the horizon, with a faint band
  // of the galaxy across it.
  ForEachTexel(parts, down, [&](float x, float y, Color& c) {
    const float t = y / horizonRow;
    Color sky =
        Mix(Color{0.012f, 0.02f, 0.06f}, Color{0.05f, 0.08f, 0.19f}, SmoothStep(0, 0.7f, t));
    sky = Mix(sky, Color{0.2f, 0.22f, 0.36f}, SmoothStep(0.55f, 1.0f, t) * 0.8f);
    const float band = std::exp(-std::pow((y - 0.35f * x - 40) / 70.0f, 2.0f));
    const float cloud = Fractal(x / 60.0f, y / 30.0f, 5, 17);
    c = Plus(sky, Scale(Color{0.05f, 0.05f, 0.08f}, band * SmoothStep(0.35f, 0.75f, cloud)));
    // High overhead, where only a tall screen looks, the galaxy's bright core crosses the sky,
    // its glow broken by dark lanes of dust.
    if (y < 60) {
      const float across = (y + 420 - 0.45f * (x - 512)) / 120.0f;
      const float core = std::exp(-across * across) * (1 - SmoothStep(-40, 60, y));
      const float dust = SmoothStep(0.42f, 0.7f, Fractal(x / 45.0f, y / 30.0f, 5, 19));
      const float glow =
          core * (0.35f + 0.65f * Fractal(x / 20.0f, y / 20.0f, 4, 21)) * (1 - dust * 0.8f);
      c = Plus(c, Scale(Color{0.09f, 0.09f, 0.12f}, glow));
    }
  });
  // Stars, thinning towards the horizon and around the moon; as dense as at the top of the
  // first painting in the sky above it.
  const float left = CanvasX(kLeftEdge), right = CanvasX(-kLeftEdge);
  const float skyTop = SkyY(parts[1].top);
  struct Star {
    float x, y, size;
    bool warm;
  };
  std::vector<Star> stars;
  for (int tile = -1; tile <= 1; ++tile) {
    Random random(tile == 0 ? 20261206u : 20261206u + static_cast<uint32_t>(tile + 2) * 7919u);
    for (int i = 0; i < 1700; ++i) {
      const float x = (tile + random.Next()) * 1024;
      const float y = std::pow(random.Next(), 1.3f) * horizonRow * 0.9f;
      const float size = std::pow(random.Next(), 6.0f);
      const bool warm = random.Next() < 0.2f;
      if (x >= left - 8 && x <= right + 8) stars.push_back({x, y, size, warm});
    }
  }
  Random above(911);
  const int aboveCount =
      static_cast<int>(-skyTop * (CanvasX(parts[1].right) - CanvasX(parts[1].left)) * 0.0045f);
  // Faint stars crowd the galaxy's core.
  for (int i = 0; i < aboveCount; ++i) {
    const float x =
        CanvasX(parts[1].left) + above.Next() * (CanvasX(parts[1].right) - CanvasX(parts[1].left));
    const float y = skyTop * above.Next();
    const float across = (y + 420 - 0.45f * (x - 512)) / 120.0f;
    if (above.Next() < std::exp(-across * across))
      stars.push_back({x, y, 0.0f, above.Next() < 0.3f});
  }
  for (int i = 0; i < aboveCount; ++i) {
    const float x =
        CanvasX(parts[1].left) + above.Next() * (CanvasX(parts[1].right) - CanvasX(parts[1].left));
    const float y = skyTop * above.Next();
    const float size = std::pow(above.Next(), 6.0f);
    stars.push_back({x, y, size, above.Next() < 0.2f});
  }
  for (const Star& star : stars) {
    const float moonDistance =
        std::hypot((star.x - kMoonX) / kMoonRadiusX, (star.y - kMoonY) / kMoonRadiusY);
    const float visible =
        SmoothStep(2.0f, 6.0f, moonDistance) * (1 - SmoothStep(0.6f, 1.0f, star.y / horizonRow));
    const float brightness = (0.18f + 0.9f * star.size) * visible;
    if (brightness <= 0) continue;
    const Color tint = star.warm ? Color{1.0f, 0.85f, 0.7f} : Color{0.8f, 0.88f, 1.0f};
    const float spread = brightness * (0.25f + star.size);
    Splat(parts, star.x, star.y, tint, brightness, spread * 0.5f,
          star.size > 0.5f ? spread * 0.5f : 0.0f);
  }
  // Thin clouds drifting across, their edges lit by the moon; the moon with a soft halo and
  // its faint seas.
  ForEachTexel(parts, down, [&](float x, float y, Color& c) {
    const float n = Fractal(x / 180.0f + 3, y / 26.0f, 6, 99);
    const float layer =
        SmoothStep(0.2f, 0.45f, y / horizonRow) * (1 - SmoothStep(0.6f, 0.85f, y / horizonRow));
    const float density = SmoothStep(0.52f, 0.78f, n) * layer;
    const float nearMoon = std::exp(-std::hypot((x - kMoonX) / 260.0f, (y - kMoonY) / 160.0f));
    const Color cloud =
        Mix(Color{0.11f, 0.13f, 0.22f}, Color{0.55f, 0.58f, 0.66f}, nearMoon * 0.8f);
    c = Mix(c, cloud, Clamp01(density * 0.6f));
    const float dx = (x - kMoonX) / kMoonRadiusX, dy = (y - kMoonY) / kMoonRadiusY;
    const float d = std::sqrt(dx * dx + dy * dy);
    c = Plus(c, Scale(Color{0.45f, 0.52f, 0.68f},
                      0.5f * std::exp(-d * d / 9.0f) + 0.12f * std::exp(-d / 6.0f)));
    const float disc = Clamp01((1.0f - d) * kMoonRadiusX / 0.675f + 0.5f);
    if (disc > 0) {
      const float maria = Fractal(x / 11.0f, y / 13.0f, 4, 5);
      const float limb = 1.0f - 0.25f * d * d;
      const Color surface = Scale(
          Mix(kMoonLight, Color{0.78f, 0.78f, 0.76f}, SmoothStep(0.45f, 0.75f, maria) * 0.55f),
          limb);
      c = Mix(c, surface, disc);
    }
  });
  // Three ranges of peaks, the farthest palest. Each peak has a moonlit face towards the moon
  // (the left) and a face in shadow, split by a ragged ridge line running down from its top.
  const Range ranges[] = {
      {horizonRow - 20, 145, 150, 31, {0.15f, 0.18f, 0.29f}, 0.5f},
      {horizonRow - 5, 95, 105, 47, {0.08f, 0.1f, 0.17f}, 0.3f},
      {horizonRow + 4, 48, 70, 63, {0.035f, 0.05f, 0.09f}, 0.12f},
  };
  for (const Range& range : ranges) {
    const std::vector<Peak> peaks = PlacePeaks(range, left, right);
    PlanePart& part = parts[0];  // the peaks never reach the sky above the wide band
    for (int column = 0; column < part.colour.Width(); ++column) {
      const float x = CanvasX(part.X(static_cast<float>(column)));
      // The highest peak at this column gives the skyline and decides the face.
      const Peak* owner = &peaks[0];
      float best = -1e9f;
      for (const Peak& peak : peaks) {
        const float h = peak.height - std::abs(x - peak.x) * peak.slope;
        if (h > best) best = h, owner = &peak;
      }
      const float ragged =
          (Fractal(x / 18.0f, range.seed * 0.1f, 5, range.seed) - 0.5f) * range.height * 0.22f;
      const float top = range.baseRow - best - ragged;
      for (int row = 0; row < part.colour.Height(); ++row) {
        const float y = SkyY(part.Y(static_cast<float>(row)));
        const float depth = y - top;
        if (depth < -1) continue;
        // The ridge wanders as it runs down; gullies streak both faces.
        const float ridge = owner->x +
                            (Fractal(y / 14.0f, owner->x * 0.05f, 4, range.seed + 1) - 0.5f) * 30 +
                            depth * 0.25f;
        const float lit = SmoothStep(3.0f, -3.0f, x - ridge);
        const float gully = Fractal(x / 8.0f + y * 0.03f, y / 16.0f, 4, range.seed + 2);
        const Color shadow = Scale(range.colour, 0.7f + 0.25f * gully);
        const Color bright =
            Scale(Plus(range.colour, Color{0.13f, 0.14f, 0.17f}), 0.8f + 0.35f * gully);
        Color rock = Mix(shadow, bright, lit);
        const float snow = SmoothStep(0.45f, 0.65f, gully) *
                           std::exp(-std::max(0.0f, depth) / (range.height * 0.25f));
        rock = Mix(rock, Color{0.62f, 0.67f, 0.78f},
                   snow * (0.25f + 0.55f * lit) * (1 - range.haze * 0.6f));
        rock = Mix(rock, kMist, range.haze * SmoothStep(top, horizonRow + 6, y));
        // An anti-aliased skyline, a canvas unit wide.
        part.colour.Blend(column, row, rock, Clamp01(depth / 0.825f + 0.5f));
      }
    }
  }
  // The bank of mist along the foot of the mountains, brightest at the waterline.
  ForEachTexel(parts, down, [&](float x, float y, Color& c) {
    const float rise = SmoothStep(horizonRow - 90, horizonRow, y);
    if (rise <= 0) return;
    const float wisps = Fractal(x / 120.0f, y / 10.0f, 5, 77);
    const float amount = rise * rise * (0.35f + 0.65f * wisps);
    c = Mix(c, kMist, std::min(0.92f, amount * 1.1f));
  });
  return parts;
}

std::vector<PlanePart> PaintSea(const std::vector<PlanePart>& backdrop) {
  // v = 0 at the horizon, 1 at the grid's near edge: the rows the sea grid maps its texture
  // coordinates to.
  std::vector<PlanePart> parts;
  parts.push_back(PlanePart(kLeftEdge, -kLeftEdge, kSeaNearY, kHorizonY, kWideTexels, 384));
  PlanePart& sea = parts[0];
  const float horizonRow = SkyY(kHorizonY);
  for (int row = 0; row < sea.colour.Height(); ++row) {
    const float v = (row + 0.5f) / sea.colour.Height();
    const float y = v * 512;                          // the sea's own canvas rows
    const float below = v * (kHorizonY - kSeaNearY);  // plane distance under the horizon
    for (int column = 0; column < sea.colour.Width(); ++column) {
      const float x = CanvasX(sea.X(static_cast<float>(column)));
      // Broken, stretched reflection: the farther, the calmer and sharper.
      const float wobble = (Fractal(x / 60.0f, y / 2.0f, 3, 11) - 0.5f) * (2 + 10 * v);
      const float mirrorRow =
          horizonRow - below * kSkyDown + (Noise(x / 14.0f, y / 1.5f, 13) - 0.5f) * 3 * v;
      Color reflection{};
      const int taps = 1 + static_cast<int>(v * 6);
      for (int k = 0; k < taps; ++k) {
        reflection =
            Plus(reflection, SampleBackdrop(backdrop, x + wobble, mirrorRow - k * 2.0f * v));
      }
      reflection = Scale(reflection, 1.0f / taps);
      const float fresnel = 0.78f - 0.45f * std::sqrt(v);
      const Color water = Mix(Color{0.015f, 0.04f, 0.07f}, Color{0.01f, 0.025f, 0.045f}, v);
      Color c = Mix(water, Scale(reflection, 0.72f), fresnel);
      // Small swells catch a little sky light.
      const float swell = Fractal(x / (30.0f + 50 * v), y / (2.0f + 9 * v), 4, 23);
      c = Plus(c,
               Scale(Color{0.05f, 0.07f, 0.1f}, SmoothStep(0.55f, 0.8f, swell) * (1 - v * 0.5f)));
      // The moon's path of light, widening towards the viewer.
      const float across = (x - kMoonX) / (10.0f + 120.0f * v);
      const float path = std::exp(-across * across);
      const float glitter =
          SmoothStep(0.62f, 0.9f, Fractal(x / (2.0f + 5 * v), y / (0.6f + 1.2f * v), 3, 29));
      c = Plus(c, Scale(kMoonLight, path * (0.1f + 0.9f * glitter) * (0.5f + 0.5f * (1 - v))));
      sea.colour.At(column, row) = c;
    }
  }
  return parts;
}

namespace {

// A profile through control points (position, height), eased between them.
float Profile(const std::vector<std::pair<float, float>>& points, float at) {
  if (at <= points.front().first) return points.front().second;
  for (size_t i = 1; i < points.size(); ++i) {
    if (at <= points[i].first) {
      const auto& [x0, h0] = points[i - 1];
      const auto& [x1, h1] = points[i];
      return h0 + (h1 - h0) * SmoothStep(x0, x1, at);
    }
  }
  return points.back().second;
}

// The shore's skyline, in shore canvas rows (down from y = 0.2), at canvas column x. Over the
// 4:3 view: low in the middle and rising into crags at both sides. Beyond it each crag tops
// out and steps down to a low, broken shore where the sea shows again, with a stack and a
// bluff of its own on either hand.
float ShoreTop(float x) {
  const float sx = x / kAcross - 1.0f;
  const float seaNearRow = ShoreY(kSeaNearY);
  const float ragged =
      (Fractal(x / 38.0f, 3.5f, 5, 41) - 0.5f) * 38 + (Noise(x / 6.0f, 1.5f, 43) - 0.5f) * 6;
  if (std::abs(sx) <= 1.0f) {
    const float valley = seaNearRow - 58 - 26 * std::cos(sx * 2.2f);
    const float crag = std::pow(std::max(0.0f, -sx - 0.55f) / 0.45f, 1.6f) * 230 +
                       std::pow(std::max(0.0f, sx - 0.62f) / 0.38f, 1.8f) * 170;
    return std::min(valley - crag + ragged, seaNearRow - 12);
  }
  // Heights above the line the middle's valley rises from, out from the 4:3 view's edge.
  static const std::vector<std::pair<float, float>> kLeft = {
      {1.0f, 230},  {1.07f, 252}, {1.16f, 246}, {1.25f, 232}, {1.31f, 214}, {1.37f, 130},
      {1.43f, 96},  {1.52f, 62},  {1.62f, 36},  {1.74f, 22},  {1.86f, 34},  {1.98f, 16},
      {2.08f, 40},  {2.13f, 150}, {2.19f, 160}, {2.24f, 66},  {2.33f, 24},  {2.46f, 52},
      {2.54f, 150}, {2.64f, 172}, {2.8f, 184}};
  static const std::vector<std::pair<float, float>> kRight = {
      {1.0f, 170}, {1.06f, 190}, {1.15f, 184}, {1.23f, 170}, {1.29f, 150}, {1.35f, 70}, {1.44f, 42},
      {1.58f, 22}, {1.72f, 36},  {1.83f, 18},  {1.95f, 46},  {2.02f, 100}, {2.12f, 94}, {2.18f, 36},
      {2.34f, 20}, {2.48f, 44},  {2.56f, 118}, {2.66f, 140}, {2.8f, 150}};
  const float out = std::abs(sx);
  const float height = Profile(sx < 0 ? kLeft : kRight, out);
  // Rougher away from the middle: broken crags, and boulders on the low shore.
  const float rough = SmoothStep(1.0f, 1.12f, out);
  const float broken = (Fractal(x / 16.0f, 6.5f, 5, 47) - 0.5f) * (14 + 0.22f * height) +
                       (Noise(x / 3.5f, 2.5f, 49) - 0.5f) * 5;
  const float valleyAtEdge = seaNearRow - 58 - 26 * std::cos(2.2f);
  return std::min(valleyAtEdge - height + ragged + broken * rough, seaNearRow - 12);
}

}  // namespace

std::vector<PlanePart> PaintNearCliff() {
  std::vector<PlanePart> parts;
  // The wide band from just below a 4:3 view's bottom up past the highest crag, and the
  // shore below it over the 4:3 view's width.
  const float bottom = -(kBackdropBottom + 616 / kTexelsPerUnit);  // as far down as the sky up
  float highest = bottom;  // the skyline's highest point on the plane
  for (int column = 0; column < kWideTexels; ++column) {
    const float x = CanvasX(kLeftEdge + (column + 0.5f) / kTexelsPerUnit);
    highest = std::max(highest, 0.2f - ShoreTop(x) / kShoreDown);
  }
  // Eight clear texels above it, in whole blocks.
  const int rows = (static_cast<int>((highest - bottom) * kTexelsPerUnit) + 8 + 3) / 4 * 4;
  parts.push_back(LatticePart(0, kWideTexels, bottom + rows / kTexelsPerUnit, rows));
  parts.push_back(LatticePart(kNarrowColumn, kNarrowTexels, bottom, 772));
  const float seaNearRow = ShoreY(kSeaNearY);  // the rocks must cover the sea below this
  const float firstBottom = ShoreY(-0.7596f);  // the foot of the first painting
  for (PlanePart& part : parts) {
    part.alpha.assign(static_cast<size_t>(part.colour.Width()) * part.colour.Height(), 0.0f);
    for (int column = 0; column < part.colour.Width(); ++column) {
      const float x = CanvasX(part.X(static_cast<float>(column)));
      const float sx = x / kAcross - 1.0f;
      const float top = ShoreTop(x);
      // Nearer ledges overlap the skyline rocks: each has its own ragged top and moonlit rim;
      // further down, where only a tall screen looks, larger and darker ones.
      const float ledgeTops[5] = {
          top,
          top + 34 + (Fractal(x / 55.0f, 8.5f, 5, 71) - 0.5f) * 50,
          top + 92 + (Fractal(x / 80.0f, 12.5f, 5, 73) - 0.5f) * 80,
          firstBottom + 70 + (Fractal(x / 60.0f, 16.5f, 5, 75) - 0.5f) * 120 +
              (Fractal(x / 17.0f, 18.5f, 4, 76) - 0.5f) * 30,
          firstBottom + 300 + (Fractal(x / 80.0f, 20.5f, 5, 77) - 0.5f) * 160 +
              (Fractal(x / 21.0f, 22.5f, 4, 78) - 0.5f) * 40,
      };
      for (int row = 0; row < part.colour.Height(); ++row) {
        const float y = ShoreY(part.Y(static_cast<float>(row)));
        int ledge = 0;
        while (ledge < 4 && y >= ledgeTops[ledge + 1]) ++ledge;
        const float depth = std::max(0.0f, y - ledgeTops[ledge]);
        // Rough faces lit from the upper left: ridged noise, larger on nearer ledges.
        const float scale = 30.0f + 22.0f * ledge;
        const float n = Fractal(x / scale, y / (scale * 0.6f), 6, 51 + ledge);
        const float nx = Fractal((x + 2) / scale, y / (scale * 0.6f), 6, 51 + ledge) - n;
        const float ny = Fractal(x / scale, (y + 2) / (scale * 0.6f), 6, 51 + ledge) - n;
        const float light = Clamp01(0.5f - (nx * 0.8f + ny * 0.6f) * 18.0f);
        const float crack =
            1 - SmoothStep(0.015f, 0.05f,
                           std::abs(Fractal(x / 45.0f, y / 20.0f, 4, 57 + ledge) - 0.5f));
        const float shade = std::max(0.45f, 1.0f - 0.22f * ledge);  // nearer is in deeper shadow
        Color rock = Mix(Color{0.035f, 0.04f, 0.055f}, Color{0.19f, 0.21f, 0.26f}, light);
        rock = Scale(rock, shade * (0.85f + 0.3f * Fractal(x / 4.0f, y / 4.0f, 3, 59)));
        rock = Mix(rock, Color{0.015f, 0.018f, 0.025f}, crack * 0.7f);
        const float lichen = SmoothStep(0.66f, 0.82f, Fractal(x / 8.0f, y / 8.0f, 4, 61));
        rock = Mix(rock, Color{0.2f, 0.22f, 0.14f}, lichen * 0.3f * shade);
        // Moonlight along each ledge's rim, strongest on the skyline.
        const float rim = ledge == 0 ? 0.32f : ledge < 3 ? 0.16f : 0.1f;
        rock = Plus(rock, Scale(Color{0.5f, 0.56f, 0.66f}, rim * std::exp(-depth / 3.5f)));
        // Wet, glistening stone just under the skyline, where the sea washes it.
        const float washed = ledge == 0 ? std::exp(-depth / 20.0f) *
                                              (1 - SmoothStep(-0.6f, 0.1f, std::abs(sx) - 0.2f))
                                        : 0;
        rock = Plus(rock, Scale(Color{0.12f, 0.17f, 0.24f}, washed * light));
        // Darker towards the viewer, so the eye rests on the water.
        rock = Scale(rock,
                     1.0f - 0.35f * SmoothStep(top + 40, 512, y) - 0.2f * SmoothStep(512, 1050, y));
        // Near the viewer, where only a tall screen looks, pools left by the tide hold the
        // night sky, ringed by wet stone.
        const float pooling = Fractal(x / 120.0f, y / 22.0f, 3, 81) * SmoothStep(540, 760, y) +
                              (Noise(x / 9.0f, y / 4.0f, 82) - 0.5f) * 0.02f;
        const float pool = SmoothStep(0.655f, 0.67f, pooling);
        rock = Plus(rock, Scale(Color{0.1f, 0.12f, 0.16f},
                                SmoothStep(0.62f, 0.655f, pooling) * (1 - pool) * 0.4f));
        if (pool > 0) {
          Color water = Mix(Color{0.06f, 0.08f, 0.15f}, Color{0.025f, 0.035f, 0.07f},
                            Fractal(x / 40.0f, y / 9.0f, 3, 85));
          water = Plus(water,
                       Scale(kMoonLight,
                             SmoothStep(0.72f, 0.92f, Fractal(x / 3.0f, y / 1.2f, 3, 83)) * 0.12f));
          rock = Mix(rock, water, pool);
        }
        part.colour.At(column, row) = rock;
        part.alpha[static_cast<size_t>(row) * part.colour.Width() + column] =
            Clamp01((y - top) / 2.5f + 0.5f);
      }
    }
  }
  // Foam where small waves break on the rocks: in the middle, and along the low shore beyond.
  Random random(7);
  PlanePart& wide = parts[0];
  for (int i = 0; i < 3600; ++i) {
    const float x = CanvasX(kLeftEdge) + random.Next() * (CanvasX(-kLeftEdge) - CanvasX(kLeftEdge));
    const float sx = x / kAcross - 1.0f;
    const int length = 2 + static_cast<int>(random.Next() * 6);
    const float top = ShoreTop(x);
    if (std::abs(sx) > 0.7f && top < seaNearRow - 70) continue;
    // A stroke one canvas unit high, `length` long, just under the skyline.
    const int first = static_cast<int>((sx - wide.left) * kTexelsPerUnit);
    const int last = static_cast<int>((sx + length / kAcross - wide.left) * kTexelsPerUnit);
    const int row =
        static_cast<int>((wide.top - (0.2f - (top + 1.6f) / kShoreDown)) * kTexelsPerUnit);
    for (int column = std::max(0, first); column <= std::min(wide.colour.Width() - 1, last);
         ++column) {
      for (int r = row; r <= row + 1 && r < wide.colour.Height(); ++r) {
        wide.colour.Add(column, r, Color{0.5f, 0.55f, 0.6f}, 0.25f);
      }
    }
  }
  return parts;
}

}  // namespace artwork

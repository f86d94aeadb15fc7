// Painting the seascape. Screen coordinates are those of the plane z = 0 as the camera sees
// it (x -1 ... 1, y about -0.74 ... 0.74); each picture knows where its rows land there.
#include "seascape.h"

#include <cmath>
#include <vector>

namespace artwork {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 512;

// Where the pictures sit on the plane z = 0 (see the decor's quads and the sea's grid).
constexpr float kHorizonY = -0.0548462f;  // the sea's far edge
constexpr float kSeaNearY = -0.5333333f;  // the sea's near edge
constexpr float kBackdropTop = 0.75f, kBackdropBottom = -0.06f;
constexpr float kCliffTop = 0.2f, kCliffBottom = -0.75f;
constexpr float kBottomT = 0.99f;  // the quads' lower edge samples t = 0.99

float BackdropRowOf(float y) {
  return kBottomT * (kBackdropTop - y) / (kBackdropTop - kBackdropBottom) * kHeight;
}
float CliffRowOf(float y) {
  return kBottomT * (kCliffTop - y) / (kCliffTop - kCliffBottom) * kHeight;
}
float ScreenXOf(float column) {
  return column / kWidth * 2.0f - 1.0f;
}

// The moon, in backdrop pixels: round on screen although the picture is stretched.
constexpr float kMoonColumn = 300, kMoonRow = 150;
constexpr float kMoonRadiusX = 24;
const float kMoonRadiusY = kMoonRadiusX * 1.222f;

const Color kMoonLight{0.98f, 0.96f, 0.88f};
const Color kMist{0.52f, 0.58f, 0.68f};

Color Sample(const Image& image, float x, float y) {
  x = std::clamp(x, 0.0f, kWidth - 1.001f);
  y = std::clamp(y, 0.0f, kHeight - 1.001f);
  const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
  const float fx = x - x0, fy = y - y0;
  const Color top = Mix(image.At(x0, y0), image.At(x0 + 1, y0), fx);
  const Color bottom = Mix(image.At(x0, y0 + 1), image.At(x0 + 1, y0 + 1), fx);
  return Mix(top, bottom, fy);
}

Color Scale(const Color& c, float s) {
  return {c.r * s, c.g * s, c.b * s};
}
Color Plus(const Color& a, const Color& b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

}  // namespace

Image PaintBackdrop() {
  Image image(kWidth, kHeight);
  const float horizonRow = BackdropRowOf(kHorizonY);
  // Sky: deep blue overhead, paler and a little violet towards the horizon.
  for (int y = 0; y < kHeight; ++y) {
    const float t = y / horizonRow;
    for (int x = 0; x < kWidth; ++x) {
      Color sky =
          Mix(Color{0.012f, 0.02f, 0.06f}, Color{0.05f, 0.08f, 0.19f}, SmoothStep(0, 0.7f, t));
      sky = Mix(sky, Color{0.2f, 0.22f, 0.36f}, SmoothStep(0.55f, 1.0f, t) * 0.8f);
      // A faint band of the galaxy across the sky.
      const float band = std::exp(-std::pow((y - 0.35f * x - 40) / 70.0f, 2.0f));
      const float cloud = Fractal(x / 60.0f, y / 30.0f, 5, 17);
      sky = Plus(sky, Scale(Color{0.05f, 0.05f, 0.08f}, band * SmoothStep(0.35f, 0.75f, cloud)));
      image.At(x, y) = sky;
    }
  }
  // Stars, thinning towards the horizon and around the moon.
  Random random(20261206);
  for (int i = 0; i < 1700; ++i) {
    const float x = random.Next() * kWidth;
    const float y = std::pow(random.Next(), 1.3f) * horizonRow * 0.9f;
    const float size = std::pow(random.Next(), 6.0f);
    const float moonDistance =
        std::hypot((x - kMoonColumn) / kMoonRadiusX, (y - kMoonRow) / kMoonRadiusY);
    const float visible =
        SmoothStep(2.0f, 6.0f, moonDistance) * (1 - SmoothStep(0.6f, 1.0f, y / horizonRow));
    const float brightness = (0.18f + 0.9f * size) * visible;
    const Color tint = random.Next() < 0.2f ? Color{1.0f, 0.85f, 0.7f} : Color{0.8f, 0.88f, 1.0f};
    const int cx = static_cast<int>(x), cy = static_cast<int>(y);
    image.Add(cx, cy, tint, brightness);
    const float spread = brightness * (0.25f + size);
    image.Add(cx + 1, cy, tint, spread * 0.5f), image.Add(cx - 1, cy, tint, spread * 0.5f);
    image.Add(cx, cy + 1, tint, spread * 0.5f), image.Add(cx, cy - 1, tint, spread * 0.5f);
    if (size > 0.5f) {  // the brightest ones sparkle
      for (int d = 2; d <= 4; ++d) {
        const float f = spread * 0.5f / d;
        image.Add(cx + d, cy, tint, f), image.Add(cx - d, cy, tint, f);
        image.Add(cx, cy + d, tint, f), image.Add(cx, cy - d, tint, f);
      }
    }
  }
  // Thin clouds drifting across, their edges lit by the moon.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const float n = Fractal(x / 180.0f + 3, y / 26.0f, 6, 99);
      const float layer =
          SmoothStep(0.2f, 0.45f, y / horizonRow) * (1 - SmoothStep(0.6f, 0.85f, y / horizonRow));
      const float density = SmoothStep(0.52f, 0.78f, n) * layer;
      const float nearMoon =
          std::exp(-std::hypot((x - kMoonColumn) / 260.0f, (y - kMoonRow) / 160.0f));
      const Color cloud =
          Mix(Color{0.11f, 0.13f, 0.22f}, Color{0.55f, 0.58f, 0.66f}, nearMoon * 0.8f);
      image.Blend(x, y, cloud, density * 0.6f);
    }
  }
  // The moon: a soft halo, then the disc with its faint seas.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const float dx = (x + 0.5f - kMoonColumn) / kMoonRadiusX;
      const float dy = (y + 0.5f - kMoonRow) / kMoonRadiusY;
      const float d = std::sqrt(dx * dx + dy * dy);
      image.Add(x, y, Color{0.45f, 0.52f, 0.68f},
                0.5f * std::exp(-d * d / 9.0f) + 0.12f * std::exp(-d / 6.0f));
      const float disc = Clamp01((1.0f - d) * kMoonRadiusX + 0.5f);
      if (disc > 0) {
        const float maria = Fractal(x / 11.0f, y / 13.0f, 4, 5);
        const float limb = 1.0f - 0.25f * d * d;
        Color surface = Scale(
            Mix(kMoonLight, Color{0.78f, 0.78f, 0.76f}, SmoothStep(0.45f, 0.75f, maria) * 0.55f),
            limb);
        image.Blend(x, y, surface, disc);
      }
    }
  }
  // Three ranges of peaks, the farthest palest. Each peak has a moonlit face towards the moon
  // (the left) and a face in shadow, split by a ragged ridge line running down from its top.
  struct Range {
    float baseRow, height, spacing;
    uint32_t seed;
    Color colour;
    float haze;
  };
  const Range ranges[] = {
      {horizonRow - 20, 145, 150, 31, {0.15f, 0.18f, 0.29f}, 0.5f},
      {horizonRow - 5, 95, 105, 47, {0.08f, 0.1f, 0.17f}, 0.3f},
      {horizonRow + 4, 48, 70, 63, {0.035f, 0.05f, 0.09f}, 0.12f},
  };
  for (const Range& range : ranges) {
    struct Peak {
      float x, height, slope;
    };
    std::vector<Peak> peaks;
    Random place(range.seed);
    for (float x = -range.spacing; x < kWidth + range.spacing;
         x += range.spacing * (0.55f + place.Next() * 0.9f)) {
      peaks.push_back(
          {x, range.height * (0.35f + 0.65f * place.Next()), 0.55f + place.Next() * 0.7f});
    }
    for (int x = 0; x < kWidth; ++x) {
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
      for (int y = std::max(0, static_cast<int>(top)); y < kHeight; ++y) {
        const float depth = y - top;
        // The ridge wanders as it runs down; gullies streak both faces.
        const float ridge = owner->x +
                            (Fractal(y / 14.0f, owner->x * 0.05f, 4, range.seed + 1) - 0.5f) * 30 +
                            depth * 0.25f;
        const float lit = SmoothStep(3.0f, -3.0f, x - ridge);
        const float gully = Fractal(x / 8.0f + y * 0.03f, y / 16.0f, 4, range.seed + 2);
        Color shadow = Scale(range.colour, 0.7f + 0.25f * gully);
        Color bright = Scale(Plus(range.colour, Color{0.13f, 0.14f, 0.17f}), 0.8f + 0.35f * gully);
        Color rock = Mix(shadow, bright, lit);
        const float snow =
            SmoothStep(0.45f, 0.65f, gully) * std::exp(-depth / (range.height * 0.25f));
        rock = Mix(rock, Color{0.62f, 0.67f, 0.78f},
                   snow * (0.25f + 0.55f * lit) * (1 - range.haze * 0.6f));
        rock = Mix(rock, kMist, range.haze * SmoothStep(top, horizonRow + 6, y));
        image.Blend(x, y, rock, Clamp01(depth + 0.5f));  // anti-aliased skyline
      }
    }
  }
  // The bank of mist along the foot of the mountains, brightest at the waterline.
  for (int y = 0; y < kHeight; ++y) {
    const float rise = SmoothStep(horizonRow - 90, horizonRow, y);
    for (int x = 0; x < kWidth; ++x) {
      const float wisps = Fractal(x / 120.0f, y / 10.0f, 5, 77);
      const float amount = rise * rise * (0.35f + 0.65f * wisps);
      image.Blend(x, y, kMist, std::min(0.92f, amount * 1.1f));
    }
  }
  return image;
}

Image PaintSea(const Image& backdrop) {
  Image sea(kWidth, kHeight);
  const float horizonRow = BackdropRowOf(kHorizonY);
  const float rowsPerScreen = BackdropRowOf(0.0f) - BackdropRowOf(1.0f);
  for (int y = 0; y < kHeight; ++y) {
    const float v = (y + 0.5f) / kHeight;
    const float below = v * (kHorizonY - kSeaNearY);  // screen distance under the horizon
    for (int x = 0; x < kWidth; ++x) {
      // Broken, stretched reflection: the farther, the calmer and sharper.
      const float wobble = (Fractal(x / 60.0f, y / 2.0f, 3, 11) - 0.5f) * (2 + 10 * v);
      const float mirrorRow =
          horizonRow - below * rowsPerScreen + (Noise(x / 14.0f, y / 1.5f, 13) - 0.5f) * 3 * v;
      Color reflection{};
      const int taps = 1 + static_cast<int>(v * 6);
      for (int k = 0; k < taps; ++k) {
        reflection = Plus(reflection, Sample(backdrop, x + wobble, mirrorRow - k * 2.0f * v));
      }
      reflection = Scale(reflection, 1.0f / taps);
      const float fresnel = 0.78f - 0.45f * std::sqrt(v);
      Color water = Mix(Color{0.015f, 0.04f, 0.07f}, Color{0.01f, 0.025f, 0.045f}, v);
      Color c = Mix(water, Scale(reflection, 0.72f), fresnel);
      // Small swells catch a little sky light.
      const float swell = Fractal(x / (30.0f + 50 * v), y / (2.0f + 9 * v), 4, 23);
      c = Plus(c,
               Scale(Color{0.05f, 0.07f, 0.1f}, SmoothStep(0.55f, 0.8f, swell) * (1 - v * 0.5f)));
      // The moon's path of light, widening towards the viewer.
      const float across = (x - kMoonColumn) / (10.0f + 120.0f * v);
      const float path = std::exp(-across * across);
      const float glitter =
          SmoothStep(0.62f, 0.9f, Fractal(x / (2.0f + 5 * v), y / (0.6f + 1.2f * v), 3, 29));
      c = Plus(c, Scale(kMoonLight, path * (0.1f + 0.9f * glitter) * (0.5f + 0.5f * (1 - v))));
      sea.At(x, y) = c;
    }
  }
  return sea;
}

void PaintNearCliff(Image& colour, Image& mask) {
  const float seaNearRow = CliffRowOf(kSeaNearY);  // the rocks must cover the sea below this
  for (int x = 0; x < kWidth; ++x) {
    const float sx = ScreenXOf(x + 0.5f);
    // Low in the middle, rising into crags at both sides; ragged along its whole length.
    const float valley = seaNearRow - 58 - 26 * std::cos(sx * 2.2f);
    const float crag = std::pow(std::max(0.0f, -sx - 0.55f) / 0.45f, 1.6f) * 230 +
                       std::pow(std::max(0.0f, sx - 0.62f) / 0.38f, 1.8f) * 170;
    const float ragged =
        (Fractal(x / 38.0f, 3.5f, 5, 41) - 0.5f) * 38 + (Noise(x / 6.0f, 1.5f, 43) - 0.5f) * 6;
    const float top = std::min(valley - crag + ragged, seaNearRow - 12);
    // Nearer ledges overlap the skyline rocks: each has its own ragged top and moonlit rim.
    const float ledgeTops[3] = {
        top,
        top + 34 + (Fractal(x / 55.0f, 8.5f, 5, 71) - 0.5f) * 50,
        top + 92 + (Fractal(x / 80.0f, 12.5f, 5, 73) - 0.5f) * 80,
    };
    for (int y = 0; y < kHeight; ++y) {
      int ledge = 0;
      while (ledge < 2 && y >= ledgeTops[ledge + 1]) ++ledge;
      const float ledgeTop = ledgeTops[ledge];
      const float depth = std::max(0.0f, y - ledgeTop);
      // Rough faces lit from the upper left: ridged noise, larger on nearer ledges.
      const float scale = 30.0f + 22.0f * ledge;
      const float n = Fractal(x / scale, y / (scale * 0.6f), 6, 51 + ledge);
      const float nx = Fractal((x + 2) / scale, y / (scale * 0.6f), 6, 51 + ledge) - n;
      const float ny = Fractal(x / scale, (y + 2) / (scale * 0.6f), 6, 51 + ledge) - n;
      const float light = Clamp01(0.5f - (nx * 0.8f + ny * 0.6f) * 18.0f);
      const float crack =
          1 -
          SmoothStep(0.015f, 0.05f, std::abs(Fractal(x / 45.0f, y / 20.0f, 4, 57 + ledge) - 0.5f));
      const float shade = 1.0f - 0.22f * ledge;  // nearer ledges are in deeper shadow
      Color rock = Mix(Color{0.035f, 0.04f, 0.055f}, Color{0.19f, 0.21f, 0.26f}, light);
      rock = Scale(rock, shade * (0.85f + 0.3f * Fractal(x / 4.0f, y / 4.0f, 3, 59)));
      rock = Mix(rock, Color{0.015f, 0.018f, 0.025f}, crack * 0.7f);
      const float lichen = SmoothStep(0.66f, 0.82f, Fractal(x / 8.0f, y / 8.0f, 4, 61));
      rock = Mix(rock, Color{0.2f, 0.22f, 0.14f}, lichen * 0.3f * shade);
      // Moonlight along each ledge's rim, strongest on the skyline.
      rock = Plus(rock, Scale(Color{0.5f, 0.56f, 0.66f},
                              (ledge == 0 ? 0.32f : 0.16f) * std::exp(-depth / 3.5f)));
      // Wet, glistening stone just under the skyline, where the sea washes it.
      const float washed =
          ledge == 0 ? std::exp(-depth / 20.0f) * (1 - SmoothStep(-0.6f, 0.1f, std::abs(sx) - 0.2f))
                     : 0;
      rock = Plus(rock, Scale(Color{0.12f, 0.17f, 0.24f}, washed * light));
      // Darker towards the viewer, so the eye rests on the water.
      rock = Scale(rock, 1.0f - 0.35f * SmoothStep(top + 40, kHeight, y));
      colour.At(x, y) = rock;
      const float edge = Clamp01((y - top) / 2.5f + 0.5f);
      mask.At(x, y) = Color{edge, edge, edge};
    }
  }
  // Foam where small waves break on the rocks in the middle.
  Random random(7);
  for (int i = 0; i < 900; ++i) {
    const int x = static_cast<int>(random.Next() * kWidth);
    const float sx = ScreenXOf(x + 0.5f);
    if (std::abs(sx) > 0.7f) continue;
    for (int y = 0; y < kHeight; ++y) {
      if (mask.At(x, y).r > 0.5f) {
        const int length = 2 + static_cast<int>(random.Next() * 6);
        for (int k = 0; k < length; ++k) colour.Add(x + k, y + 1, Color{0.5f, 0.55f, 0.6f}, 0.25f);
        break;
      }
    }
  }
}

}  // namespace artwork

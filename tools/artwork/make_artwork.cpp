// Rebuilds the program's pictures: the seascape (119 to 122), the welcome banner (bitmap 125),
// the icon (group 102) and the side picture of the Windows setup.
// Deterministic: the same sources always write the same files.
// Usage: make_artwork OUTPUT_FOLDER [PREVIEW_FOLDER]
// With a preview folder, every part of the seascape is also written there as a bitmap, as the
// program will show it: decoded from its compressed blocks.
#include <cmath>
#include <cstdio>
#include <string>

#include "image.h"
#include "s3tc.h"
#include "seascape.h"
#include "stroke_font.h"

using namespace artwork;

namespace {

const Color kNightTop{0.03f, 0.06f, 0.16f};
const Color kNightLow{0.09f, 0.22f, 0.33f};
const Color kMoon{0.97f, 0.94f, 0.84f};
const Color kMoonGlow{0.55f, 0.62f, 0.75f};
const Color kCream{1.0f, 0.95f, 0.82f};
const Color kGold{0.95f, 0.74f, 0.42f};

// A night sky over a calm sea: gradient, stars, a pale moon with its glow and its path on
// the water, and soft swells along the bottom.
void PaintNight(Image& image, float moonX, float moonY, float moonRadius, float horizon,
                uint32_t seed) {
  const int w = image.Width(), h = image.Height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float t = static_cast<float>(y) / h;
      Color c = Mix(kNightTop, kNightLow, std::pow(t, 1.4f));
      // Thin high clouds.
      const float cloud = Fractal(x / 90.0f, y / 22.0f, 5, seed);
      c = Mix(c, Color{0.16f, 0.22f, 0.36f}, SmoothStep(0.55f, 0.8f, cloud) * 0.35f * (1 - t));
      image.At(x, y) = c;
    }
  }
  Random random(seed);
  for (int i = 0; i < w * h / 700; ++i) {
    const int x = static_cast<int>(random.Next() * w);
    const int y = static_cast<int>(random.Next() * horizon);
    const float brightness = 0.25f + 0.75f * std::pow(random.Next(), 3.0f);
    image.Add(x, y, Color{0.9f, 0.92f, 1.0f}, brightness);
    if (brightness > 0.8f) {
      for (int d = 1; d <= 2; ++d) {
        const float fade = brightness * (d == 1 ? 0.35f : 0.12f);
        image.Add(x + d, y, kMoonGlow, fade), image.Add(x - d, y, kMoonGlow, fade);
        image.Add(x, y + d, kMoonGlow, fade), image.Add(x, y - d, kMoonGlow, fade);
      }
    }
  }
  // The sea below the horizon, darker, with moonlight broken on the swells.
  for (int y = static_cast<int>(horizon); y < h; ++y) {
    const float depth = (y - horizon) / (h - horizon);
    for (int x = 0; x < w; ++x) {
      Color& c = image.At(x, y);
      c = Mix(Color{0.04f, 0.12f, 0.2f}, Color{0.02f, 0.07f, 0.13f}, depth);
      const float swell =
          std::sin(x * 0.09f + y * 0.9f + 3 * Fractal(x / 40.0f, y / 6.0f, 3, seed + 7));
      const float path = std::exp(-std::pow((x - moonX) / (14.0f + 60 * depth), 2.0f));
      const float glint = SmoothStep(0.55f, 0.95f, swell) * path;
      c = Mix(c, Color{0.85f, 0.86f, 0.8f}, glint * 0.8f);
      c = Mix(c, Color{0.12f, 0.25f, 0.35f}, SmoothStep(0.3f, 1.0f, swell) * 0.25f);
    }
  }
  // The moon, with a soft halo and faint maria.
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float d = std::hypot(x + 0.5f - moonX, y + 0.5f - moonY);
      if (y < horizon)
        image.Add(x, y, kMoonGlow, 0.45f * std::exp(-std::pow(d / (moonRadius * 2.2f), 2.0f)));
      const float disc = Clamp01(moonRadius + 0.5f - d);
      if (disc > 0) {
        const float maria = Fractal(x / 14.0f, y / 14.0f, 3, seed + 3);
        const Color surface =
            Mix(kMoon, Color{0.84f, 0.83f, 0.78f}, SmoothStep(0.45f, 0.8f, maria) * 0.45f);
        image.Blend(x, y, surface, disc);
      }
    }
  }
}

bool MakeBanner(const std::string& folder) {
  Image banner(512, 128);
  PaintNight(banner, 66, 50, 24, 100, 1987);
  std::vector<Stroke> small, large;
  TextStyle smallStyle{15, 2.0f, 0.2f, 0.16f};
  TextStyle largeStyle{42, 4.2f, 0.2f, 0.1f};
  LayoutText("Welcome to", 140, 34, smallStyle, small);
  LayoutText("Driftglass #1", 134, 86, largeStyle, large);
  DrawStrokes(banner, small, smallStyle.penWidth, Color{0.82f, 0.9f, 0.98f}, 4, kMoonGlow, 0.2f);
  DrawStrokes(banner, large, largeStyle.penWidth, kCream, 7, kGold, 0.28f);
  return WriteBmp16(banner, folder + "/banner.bmp");
}

// The picture down the side of the Windows setup's first and last pages (164 x 314, as NSIS's
// Modern UI wants it): the moon over the sea, and the name.
bool MakeSetupPanel(const std::string& folder) {
  Image panel(164, 314);
  PaintNight(panel, 82, 92, 26, 236, 2026);
  std::vector<Stroke> name, number;
  TextStyle nameStyle{20, 2.3f, 0.2f, 0.12f};
  TextStyle numberStyle{30, 3.2f, 0.2f, 0.1f};
  LayoutText("Driftglass", 22, 176, nameStyle, name);
  LayoutText("#1", 62, 214, numberStyle, number);
  DrawStrokes(panel, name, nameStyle.penWidth, kCream, 5, kGold, 0.25f);
  DrawStrokes(panel, number, numberStyle.penWidth, kCream, 5, kGold, 0.25f);
  return WriteBmp24(panel, folder + "/setup_panel.bmp");
}

// The badge's colour at (x, y) of a 32-unit square, and whether the point lies on it: a
// moonlit sea in a round frame.
bool BadgePoint(float x, float y, Color& c) {
  const float d = std::hypot(x - 16, y - 16);
  if (d > 15.6f) return false;
  c = Mix(kNightTop, kNightLow, y / 32.0f);
  if (y >= 20) c = Mix(Color{0.05f, 0.2f, 0.3f}, Color{0.02f, 0.1f, 0.18f}, (y - 20) / 12.0f);
  // Moonlight on the water: short dashes under the moon, narrowing with distance.
  const int row = static_cast<int>(y), column = static_cast<int>(x);
  if (row >= 21 && row % 2 == 1 && std::abs(column - 12 + (row % 4) - 1) < (row - 17) / 2) {
    c = Color{0.8f, 0.82f, 0.75f};
  }
  const float moon = std::hypot(x - 12, y - 12);
  const float bite = std::hypot(x - 15, y - 10);
  if (moon < 6.5f && bite > 5.5f) c = kMoon;
  if (d > 14.6f) c = Color{0.55f, 0.62f, 0.75f};
  return true;
}

// The badge at the sizes Windows asks for, each drawn at its size with 4 x 4 samples a pixel.
bool MakeIcon(const std::string& folder) {
  std::vector<IconImage> images;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    IconImage image;
    image.size = size;
    image.colour.resize(static_cast<size_t>(size) * size);
    image.alpha.resize(image.colour.size());
    const float unit = 32.0f / size;
    for (int py = 0; py < size; ++py) {
      for (int px = 0; px < size; ++px) {
        Color sum;
        int covered = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) {
            Color c;
            if (!BadgePoint((px + (sx + 0.5f) / 4) * unit, (py + (sy + 0.5f) / 4) * unit, c)) {
              continue;
            }
            sum = Color{sum.r + c.r, sum.g + c.g, sum.b + c.b};
            ++covered;
          }
        }
        const size_t p = static_cast<size_t>(py) * size + px;
        image.alpha[p] = covered / 16.0f;
        if (covered > 0) image.colour[p] = Color{sum.r / covered, sum.g / covered, sum.b / covered};
      }
    }
    images.push_back(std::move(image));
  }
  return WriteIcon(images, folder + "/icon.ico");
}

// Each part as the program shows it, its blocks decoded; a mask's parts blended over grey.
bool WritePreviews(const std::vector<PlanePart>& parts, bool masked, const std::string& name) {
  for (size_t p = 0; p < parts.size(); ++p) {
    const PlanePart& part = parts[p];
    Image shown(part.colour.Width(), part.colour.Height());
    for (int by = 0; by < shown.Height(); by += 4) {
      for (int bx = 0; bx < shown.Width(); bx += 4) {
        Color texels[16];
        float alphas[16];
        uint8_t block[8];
        for (int k = 0; k < 16; ++k) {
          texels[k] = part.colour.At(bx + k % 4, by + k / 4);
          if (masked)
            alphas[k] = part.alpha[static_cast<size_t>(by + k / 4) * shown.Width() + bx + k % 4];
        }
        EncodeColourBlock(texels, block);
        DecodeColourBlock(block, texels);
        if (masked) {
          EncodeAlphaBlock(alphas, block);
          DecodeAlphaBlock(block, alphas);
        }
        for (int k = 0; k < 16; ++k) {
          const Color grey{0.5f, 0.3f, 0.5f};
          shown.At(bx + k % 4, by + k / 4) = masked ? Mix(grey, texels[k], alphas[k]) : texels[k];
        }
      }
    }
    if (!WriteBmp24(shown, name + "_" + std::to_string(p) + ".bmp")) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_artwork OUTPUT_FOLDER [PREVIEW_FOLDER]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<PlanePart> backdrop = PaintBackdrop();
  const std::vector<PlanePart> sea = PaintSea(backdrop);
  const std::vector<PlanePart> cliff = PaintNearCliff();
  bool seascape = WriteColourParts(backdrop, folder + "/backdrop.s3tc") &&
                  WriteColourParts(sea, folder + "/sea.s3tc") &&
                  WriteColourParts(cliff, folder + "/near_cliff.s3tc") &&
                  WriteMaskParts(cliff, folder + "/near_cliff_mask.s3tc");
  if (seascape && argc == 3) {
    const std::string preview = argv[2];
    seascape = WritePreviews(backdrop, false, preview + "/backdrop") &&
               WritePreviews(sea, false, preview + "/sea") &&
               WritePreviews(cliff, true, preview + "/near_cliff");
  }
  if (!seascape || !MakeBanner(folder) || !MakeIcon(folder) || !MakeSetupPanel(folder)) {
    std::fprintf(stderr, "make_artwork: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}

// S3TC block encoders and the parts' file writer. The colour encoder fits the block's
// colours along their main axis, refines the two ends by least squares and then searches
// the 5-6-5 grid around them, so that the night's dark, smooth gradients keep their levels.
#include "s3tc.h"

#include <array>
#include <cstring>
#include <fstream>
#include <limits>

namespace artwork {
namespace {

struct Rgb {
  float r = 0, g = 0, b = 0;  // 0 ... 255
};

Rgb Expand(int packed) {
  const int r = (packed >> 11) & 31, g = (packed >> 5) & 63, b = packed & 31;
  return {static_cast<float>((r << 3) | (r >> 2)), static_cast<float>((g << 2) | (g >> 4)),
          static_cast<float>((b << 3) | (b >> 2))};
}

int Pack(float r, float g, float b) {
  const auto q = [](float v, int top) {
    return std::clamp(static_cast<int>(std::lround(v * top / 255.0f)), 0, top);
  };
  return (q(r, 31) << 11) | (q(g, 63) << 5) | q(b, 31);
}

// The four colours a block of ends c0 > c1 shows (c0 == c1: all the same).
std::array<Rgb, 4> Palette(int c0, int c1) {
  const Rgb a = Expand(c0), b = Expand(c1);
  const auto mix = [&](float wa) {
    return Rgb{(a.r * wa + b.r * (3 - wa)) / 3, (a.g * wa + b.g * (3 - wa)) / 3,
               (a.b * wa + b.b * (3 - wa)) / 3};
  };
  if (c0 == c1) return {a, a, a, a};
  return {a, b, mix(2), mix(1)};
}

float Distance(const Rgb& a, const Rgb& b) {
  const float r = a.r - b.r, g = a.g - b.g, bl = a.b - b.b;
  return r * r + g * g + bl * bl;
}

// The block's error with ends c0 and c1 (either order), and each texel's index for them.
float Fit(const Rgb (&texels)[16], int c0, int c1, int (&indices)[16]) {
  const std::array<Rgb, 4> palette = Palette(std::max(c0, c1), std::min(c0, c1));
  float error = 0;
  for (int k = 0; k < 16; ++k) {
    float best = std::numeric_limits<float>::max();
    for (int i = 0; i < 4; ++i) {
      const float d = Distance(texels[k], palette[i]);
      if (d < best) best = d, indices[k] = i;
    }
    error += best;
  }
  return error;
}

// Least-squares ends for the given indices, per channel.
void Refine(const Rgb (&texels)[16], const int (&indices)[16], Rgb& e0, Rgb& e1) {
  static const float kWeight[4] = {1.0f, 0.0f, 2.0f / 3, 1.0f / 3};
  float aa = 0, ab = 0, bb = 0;
  Rgb ax, bx;
  for (int k = 0; k < 16; ++k) {
    const float w = kWeight[indices[k]], v = 1 - w;
    aa += w * w, ab += w * v, bb += v * v;
    ax.r += w * texels[k].r, ax.g += w * texels[k].g, ax.b += w * texels[k].b;
    bx.r += v * texels[k].r, bx.g += v * texels[k].g, bx.b += v * texels[k].b;
  }
  const float det = aa * bb - ab * ab;
  if (std::abs(det) < 1e-6f) return;
  const auto solve = [&](float x, float y, float& a, float& b) {
    a = std::clamp((x * bb - y * ab) / det, 0.0f, 255.0f);
    b = std::clamp((y * aa - x * ab) / det, 0.0f, 255.0f);
  };
  solve(ax.r, bx.r, e0.r, e1.r);
  solve(ax.g, bx.g, e0.g, e1.g);
  solve(ax.b, bx.b, e0.b, e1.b);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutFloat(std::vector<uint8_t>& out, float v) {
  uint32_t bits = 0;
  std::memcpy(&bits, &v, 4);
  Put32(out, bits);
}

bool WriteParts(const std::vector<PlanePart>& parts, uint8_t format, const std::string& path) {
  std::vector<uint8_t> out = {'D', 'G', 'P', '1', format, static_cast<uint8_t>(parts.size()), 0, 0};
  for (const PlanePart& part : parts) {
    if (part.colour.Width() % 4 != 0 || part.colour.Height() % 4 != 0) return false;
    Put32(out, static_cast<uint32_t>(part.colour.Width()));
    Put32(out, static_cast<uint32_t>(part.colour.Height()));
    for (const float v : {part.left, part.right, part.bottom, part.top}) PutFloat(out, v);
  }
  for (const PlanePart& part : parts) {
    const int w = part.colour.Width();
    for (int by = 0; by < part.colour.Height(); by += 4) {
      for (int bx = 0; bx < w; bx += 4) {
        uint8_t block[8];
        if (format == 1) {
          Color texels[16];
          for (int k = 0; k < 16; ++k) texels[k] = part.colour.At(bx + k % 4, by + k / 4);
          EncodeColourBlock(texels, block);
        } else {
          float alphas[16];
          for (int k = 0; k < 16; ++k) {
            alphas[k] = part.alpha[static_cast<size_t>(by + k / 4) * w + bx + k % 4];
          }
          EncodeAlphaBlock(alphas, block);
        }
        out.insert(out.end(), block, block + 8);
      }
    }
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

// The alpha levels of a DXT5 block with ends a0 and a1.
std::array<float, 8> AlphaLevels(int a0, int a1) {
  std::array<float, 8> levels{static_cast<float>(a0), static_cast<float>(a1)};
  if (a0 > a1) {
    for (int i = 1; i <= 6; ++i) levels[i + 1] = ((7 - i) * a0 + i * a1) / 7.0f;
  } else {
    for (int i = 1; i <= 4; ++i) levels[i + 1] = ((5 - i) * a0 + i * a1) / 5.0f;
    levels[6] = 0, levels[7] = 255;
  }
  return levels;
}

float FitAlpha(const float (&values)[16], int a0, int a1, int (&indices)[16]) {
  const std::array<float, 8> levels = AlphaLevels(a0, a1);
  float error = 0;
  for (int k = 0; k < 16; ++k) {
    float best = std::numeric_limits<float>::max();
    for (int i = 0; i < 8; ++i) {
      const float d = (values[k] - levels[i]) * (values[k] - levels[i]);
      if (d < best) best = d, indices[k] = i;
    }
    error += best;
  }
  return error;
}

}  // namespace

void EncodeColourBlock(const Color (&colours)[16], uint8_t (&block)[8]) {
  Rgb texels[16];
  Rgb mean;
  for (int k = 0; k < 16; ++k) {
    texels[k] = {Clamp01(colours[k].r) * 255, Clamp01(colours[k].g) * 255,
                 Clamp01(colours[k].b) * 255};
    mean.r += texels[k].r / 16, mean.g += texels[k].g / 16, mean.b += texels[k].b / 16;
  }
  // The main axis of the colours, by a few rounds of power iteration on their covariance.
  float cov[3][3] = {};
  for (const Rgb& t : texels) {
    const float d[3] = {t.r - mean.r, t.g - mean.g, t.b - mean.b};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) cov[i][j] += d[i] * d[j];
  }
  float axis[3] = {1, 1, 1};
  for (int round = 0; round < 8; ++round) {
    float next[3] = {};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) next[i] += cov[i][j] * axis[j];
    const float length = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
    if (length < 1e-6f) break;
    for (int i = 0; i < 3; ++i) axis[i] = next[i] / length;
  }
  float low = 0, high = 0;
  for (const Rgb& t : texels) {
    const float p = (t.r - mean.r) * axis[0] + (t.g - mean.g) * axis[1] + (t.b - mean.b) * axis[2];
    low = std::min(low, p), high = std::max(high, p);
  }
  Rgb e0{mean.r + axis[0] * high, mean.g + axis[1] * high, mean.b + axis[2] * high};
  Rgb e1{mean.r + axis[0] * low, mean.g + axis[1] * low, mean.b + axis[2] * low};
  int indices[16];
  int c0 = Pack(e0.r, e0.g, e0.b), c1 = Pack(e1.r, e1.g, e1.b);
  float error = Fit(texels, c0, c1, indices);
  for (int round = 0; round < 2; ++round) {
    // Indices as c0 > c1 would number them: 0 at the end that was e0.
    int ordered[16];
    for (int k = 0; k < 16; ++k) ordered[k] = c0 >= c1 ? indices[k] : indices[k] ^ 1;
    Refine(texels, ordered, e0, e1);
    const int r0 = Pack(e0.r, e0.g, e0.b), r1 = Pack(e1.r, e1.g, e1.b);
    int refined[16];
    const float e = Fit(texels, r0, r1, refined);
    if (e < error) error = e, c0 = r0, c1 = r1, std::copy(refined, refined + 16, indices);
  }
  // Walk the 5-6-5 grid around the ends while a step lowers the error.
  static const int kSteps[] = {1 << 11, -(1 << 11), 1 << 5, -(1 << 5), 1, -1};
  static const int kLimits[] = {31 << 11, 31 << 11, 63 << 5, 63 << 5, 31, 31};
  for (bool better = true; better;) {
    better = false;
    for (int end = 0; end < 2; ++end) {
      for (int s = 0; s < 6; ++s) {
        int& c = end == 0 ? c0 : c1;
        const int field = kLimits[s], step = kSteps[s];
        const int value = (c & field) + step;
        if (value < 0 || value > field) continue;
        const int candidate = (c & ~field) | value;
        int trial[16];
        const float e =
            end == 0 ? Fit(texels, candidate, c1, trial) : Fit(texels, c0, candidate, trial);
        if (e + 1e-3f < error) {
          error = e, c = candidate, better = true;
          std::copy(trial, trial + 16, indices);
        }
      }
    }
  }
  // The four-colour order: c0 above c1. Equal ends show their colour at index 0.
  if (c0 < c1) {
    std::swap(c0, c1);
  } else if (c0 == c1) {
    std::fill(indices, indices + 16, 0);
  }
  uint32_t bits = 0;
  for (int k = 0; k < 16; ++k) bits |= static_cast<uint32_t>(indices[k]) << (2 * k);
  block[0] = static_cast<uint8_t>(c0), block[1] = static_cast<uint8_t>(c0 >> 8);
  block[2] = static_cast<uint8_t>(c1), block[3] = static_cast<uint8_t>(c1 >> 8);
  for (int i = 0; i < 4; ++i) block[4 + i] = static_cast<uint8_t>(bits >> (8 * i));
}

void DecodeColourBlock(const uint8_t (&block)[8], Color (&texels)[16]) {
  const int c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
  const std::array<Rgb, 4> palette = Palette(c0, c1);
  for (int k = 0; k < 16; ++k) {
    const int index = (block[4 + k / 4] >> (2 * (k % 4))) & 3;
    const Rgb& c = palette[index];
    texels[k] = {c.r / 255, c.g / 255, c.b / 255};
  }
}

void EncodeAlphaBlock(const float (&alphas)[16], uint8_t (&block)[8]) {
  float values[16];
  float low = 255, high = 0, innerLow = 255, innerHigh = 0;
  for (int k = 0; k < 16; ++k) {
    values[k] = std::lround(Clamp01(alphas[k]) * 255.0f);
    low = std::min(low, values[k]), high = std::max(high, values[k]);
    if (values[k] > 0 && values[k] < 255) {
      innerLow = std::min(innerLow, values[k]), innerHigh = std::max(innerHigh, values[k]);
    }
  }
  // Eight levels between the extremes, or six between the inner values with 0 and 255 beside.
  int indices[16], trial[16];
  int a0 = static_cast<int>(high), a1 = static_cast<int>(low);
  if (a0 == a1) {
    std::fill(indices, indices + 16, 0);
  } else {
    float error = FitAlpha(values, a0, a1, indices);
    if (innerLow <= innerHigh) {
      const int b0 = static_cast<int>(innerLow), b1 = static_cast<int>(innerHigh);
      const float e = FitAlpha(values, b0, b1, trial);
      if (e < error) error = e, a0 = b0, a1 = b1, std::copy(trial, trial + 16, indices);
    }
  }
  uint64_t bits = 0;
  for (int k = 0; k < 16; ++k) bits |= static_cast<uint64_t>(indices[k]) << (3 * k);
  block[0] = static_cast<uint8_t>(a0), block[1] = static_cast<uint8_t>(a1);
  for (int i = 0; i < 6; ++i) block[2 + i] = static_cast<uint8_t>(bits >> (8 * i));
}

void DecodeAlphaBlock(const uint8_t (&block)[8], float (&alphas)[16]) {
  const std::array<float, 8> levels = AlphaLevels(block[0], block[1]);
  uint64_t bits = 0;
  for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
  for (int k = 0; k < 16; ++k) alphas[k] = levels[(bits >> (3 * k)) & 7] / 255.0f;
}

bool WriteColourParts(const std::vector<PlanePart>& parts, const std::string& path) {
  return WriteParts(parts, 1, path);
}

bool WriteMaskParts(const std::vector<PlanePart>& parts, const std::string& path) {
  for (const PlanePart& part : parts) {
    if (part.alpha.size() != static_cast<size_t>(part.colour.Width()) * part.colour.Height())
      return false;
  }
  return WriteParts(parts, 2, path);
}

}  // namespace artwork

// A floating-point RGB canvas with the few drawing operations the artwork needs, and the
// writers for the bitmap formats the program embeds (16- and 24-bit BMP, 32-bit ICO).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

struct Color {
  float r = 0, g = 0, b = 0;
};

inline Color Mix(const Color& a, const Color& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline float Clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}
inline float SmoothStep(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

class Image {
 public:
  Image(int width, int height) : width_(width), height_(height), pixels_(width * height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  Color& At(int x, int y) { return pixels_[y * width_ + x]; }
  const Color& At(int x, int y) const { return pixels_[y * width_ + x]; }
  // Blends `color` over the pixel with opacity `alpha`.
  void Blend(int x, int y, const Color& color, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    Color& p = At(x, y);
    p = Mix(p, color, Clamp01(alpha));
  }
  // Adds light (for glows), clamped later on output.
  void Add(int x, int y, const Color& color, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0) return;
    Color& p = At(x, y);
    p.r += color.r * amount;
    p.g += color.g * amount;
    p.b += color.b * amount;
  }

 private:
  int width_;
  int height_;
  std::vector<Color> pixels_;
};

// Deterministic noise and random numbers, so every run writes the same files.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / 16777216.0f;
  }

 private:
  uint32_t state_;
};

// Smooth value noise in [0, 1] with several octaves.
float Noise(float x, float y, uint32_t seed);
float Fractal(float x, float y, int octaves, uint32_t seed);

bool WriteBmp24(const Image& image, const std::string& path);
// 16 bits per pixel, 5-5-5, ordered dithering so gradients do not band.
bool WriteBmp16(const Image& image, const std::string& path);
// One image of an icon: a square of `size` pixels, row by row from the top, with the
// coverage of each pixel in `alpha`.
struct IconImage {
  int size = 0;
  std::vector<Color> colour;
  std::vector<float> alpha;
};
// An icon file holding the images (32-bit, with alpha, up to 256 x 256).
bool WriteIcon(const std::vector<IconImage>& images, const std::string& path);

}  // namespace artwork

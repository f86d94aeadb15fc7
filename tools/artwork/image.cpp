// Noise and the BMP and ICO writers.
#include "image.h"

#include <cstdio>
#include <fstream>

namespace artwork {
namespace {

uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

float Lattice(int x, int y, uint32_t seed) {
  return (Hash(x, y, seed) & 0xFFFF) / 65535.0f;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint8_t Byte(float v) {
  return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

std::vector<uint8_t> BmpHeaders(int width, int height, int bits, uint32_t imageSize) {
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);  // positive: rows bottom-up
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  return out;
}

bool Save(const std::vector<uint8_t>& bytes, const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return static_cast<bool>(file);
}

}  // namespace

float Noise(float x, float y, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x));
  const int y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0;
  const float fy = y - y0;
  const float sx = fx * fx * (3 - 2 * fx);
  const float sy = fy * fy * (3 - 2 * fy);
  const float top =
      Lattice(x0, y0, seed) + (Lattice(x0 + 1, y0, seed) - Lattice(x0, y0, seed)) * sx;
  const float bottom =
      Lattice(x0, y0 + 1, seed) + (Lattice(x0 + 1, y0 + 1, seed) - Lattice(x0, y0 + 1, seed)) * sx;
  return top + (bottom - top) * sy;
}

float Fractal(float x, float y, int octaves, uint32_t seed) {
  float sum = 0;
  float amplitude = 0.5f;
  float total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x, y, seed + i * 101) * amplitude;
    total += amplitude;
    x *= 2.03f;
    y *= 2.03f;
    amplitude *= 0.5f;
  }
  return sum / total;
}

bool WriteBmp24(const Image& image, const std::string& path) {
  const int stride = (image.Width() * 3 + 3) & ~3;
  std::vector<uint8_t> out = BmpHeaders(image.Width(), image.Height(), 24, stride * image.Height());
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Color& c = image.At(x, y);
      out.push_back(Byte(c.b));
      out.push_back(Byte(c.g));
      out.push_back(Byte(c.r));
    }
    for (int pad = image.Width() * 3; pad < stride; ++pad) out.push_back(0);
  }
  return Save(out, path);
}

bool WriteBmp16(const Image& image, const std::string& path) {
  static const float kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int stride = (image.Width() * 2 + 3) & ~3;
  std::vector<uint8_t> out = BmpHeaders(image.Width(), image.Height(), 16, stride * image.Height());
  auto level = [](float v, float dither) {
    return static_cast<uint32_t>(std::min(31.0f, std::floor(Clamp01(v) * 31.0f + dither)));
  };
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Color& c = image.At(x, y);
      const float dither = (kBayer[y & 3][x & 3] + 0.5f) / 16.0f;
      Put16(out, (level(c.r, dither) << 10) | (level(c.g, dither) << 5) | level(c.b, dither));
    }
    for (int pad = image.Width() * 2; pad < stride; ++pad) out.push_back(0);
  }
  return Save(out, path);
}

bool WriteIcon(const std::vector<IconImage>& images, const std::string& path) {
  std::vector<uint8_t> out;
  Put16(out, 0);  // icon directory
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  const auto bytesOf = [](int size) {
    const int maskStride = ((size + 31) / 32) * 4;
    return static_cast<uint32_t>(40 + size * size * 4 + maskStride * size);
  };
  for (const IconImage& image : images) {
    out.push_back(static_cast<uint8_t>(image.size & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<uint8_t>(image.size & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, bytesOf(image.size));
    Put32(out, offset);
    offset += bytesOf(image.size);
  }
  for (const IconImage& image : images) {
    const int size = image.size;
    Put32(out, 40);  // a bitmap header of twice the height: colour, then the mask
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, bytesOf(size) - 40);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
      for (int x = 0; x < size; ++x) {
        const size_t p = static_cast<size_t>(y) * size + x;
        out.push_back(Byte(image.colour[p].b));
        out.push_back(Byte(image.colour[p].g));
        out.push_back(Byte(image.colour[p].r));
        out.push_back(Byte(image.alpha[p]));
      }
    }
    // The mask: set where nothing shows, for programs that ignore the alpha.
    const int maskStride = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
      std::vector<uint8_t> row(maskStride, 0);
      for (int x = 0; x < size; ++x) {
        if (image.alpha[static_cast<size_t>(y) * size + x] < 0.5f) row[x / 8] |= 0x80 >> (x % 8);
      }
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  return Save(out, path);
}

}  // namespace artwork

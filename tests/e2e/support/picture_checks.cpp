// PNG reading and region statistics for the end-to-end tests.
#include "picture_checks.h"

#include <png.h>

#include <algorithm>
#include <cmath>

namespace e2e {

bool ReadPng(const std::string& path, Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  return png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) != 0;
}

MeanColour RegionMean(const Picture& picture, double left, double right, double top,
                      double bottom) {
  MeanColour mean;
  const int x0 = static_cast<int>(left * picture.width),
            x1 = static_cast<int>(right * picture.width);
  const int y0 = static_cast<int>(top * picture.height),
            y1 = static_cast<int>(bottom * picture.height);
  double count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
      mean.r += p[0] / 255.0;
      mean.g += p[1] / 255.0;
      mean.b += p[2] / 255.0;
      ++count;
    }
  }
  if (count > 0) mean.r /= count, mean.g /= count, mean.b /= count;
  return mean;
}

bool LooksLikeTheSeascape(const Picture& frame) {
  const MeanColour sky = RegionMean(frame, 0.0, 0.58, 0.04, 0.08),
                   sea = RegionMean(frame, 0.58, 0.88, 0.61, 0.68),
                   shore = RegionMean(frame, 0.0, 1.0, 0.91, 0.99);
  return sky.b > sky.r + 0.04 && sky.Luminance() < 0.2 && sea.b > sea.r + 0.04 &&
         shore.Luminance() < sea.Luminance();
}

double MoonShape(const Picture& picture) {
  const int w = picture.width, h = picture.height;
  const auto moonlit = [&](int x, int y) {
    const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * w + x) * 4];
    return p[0] > 150 && p[1] > 140 && p[2] > 110;
  };
  std::vector<char> seen(static_cast<size_t>(w) * h, 0);
  double best = 0, shape = 0;
  // The moon stands in the upper part of the sky in every view; the moonlight glittering on
  // the sea, below the middle, is never taken for it.
  for (int start = 0; start < w * (h * 9 / 20); ++start) {
    if (seen[start] || !moonlit(start % w, start / w)) continue;
    // One patch, by its four-connected neighbours.
    std::vector<int> open = {start};
    seen[start] = 1;
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0;
    while (!open.empty()) {
      const int at = open.back();
      open.pop_back();
      const double x = at % w, y = at / w;
      n += 1, sx += x, sy += y, sxx += x * x, syy += y * y;
      for (const int next : {at - 1, at + 1, at - w, at + w}) {
        if (next < 0 || next >= w * h || (next % w == 0 && at % w == w - 1) ||
            (at % w == 0 && next % w == w - 1) || seen[next] || !moonlit(next % w, next / w)) {
          continue;
        }
        seen[next] = 1;
        open.push_back(next);
      }
    }
    if (n <= best) continue;
    best = n;
    const double spreadX = sxx / n - (sx / n) * (sx / n), spreadY = syy / n - (sy / n) * (sy / n);
    shape = spreadY > 0 ? std::sqrt(spreadX / spreadY) : 0;
  }
  return best >= 50 ? shape : 0;
}

bool ShowsTheWholeView(const Picture& picture) {
  return LooksLikeTheSeascape(picture) && std::abs(MoonShape(picture) - 1) < 0.03 &&
         !BlackEdge(picture);
}

bool BlackEdge(const Picture& picture) {
  const int w = picture.width, h = picture.height;
  const auto black = [&](int x, int y) {
    const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * w + x) * 4];
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
  };
  for (const int inset : {0, 1}) {
    int top = 0, bottom = 0, left = 0, right = 0;
    for (int x = 0; x < w; ++x) top += black(x, inset), bottom += black(x, h - 1 - inset);
    for (int y = 0; y < h; ++y) left += black(inset, y), right += black(w - 1 - inset, y);
    if (2 * std::max(top, bottom) > w || 2 * std::max(left, right) > h) return true;
  }
  return false;
}

Picture Crop(const Picture& picture, int left, int top, int width, int height) {
  Picture part{width, height, {}};
  for (int y = top; y < top + height; ++y) {
    const auto row = picture.rgba.begin() + (static_cast<size_t>(y) * picture.width + left) * 4;
    part.rgba.insert(part.rgba.end(), row, row + width * 4);
  }
  return part;
}

}  // namespace e2e

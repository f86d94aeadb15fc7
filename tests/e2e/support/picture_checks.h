// Looking at what the programs drew: pictures as RGBA rows and the mean colour of a region.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // rows top-down
};

struct MeanColour {
  double r = 0, g = 0, b = 0;
  double Luminance() const { return 0.3 * r + 0.59 * g + 0.11 * b; }
};

bool ReadPng(const std::string& path, Picture& picture);
// The mean colour (0 ... 1) of the region given as fractions of the picture's size.
MeanColour RegionMean(const Picture& picture, double left, double right, double top, double bottom);

// A dark blue night sky above the peaks, bluish open water and a near shore darker than the
// sea, measured where the scene puts them whatever the screen's size.
bool LooksLikeTheSeascape(const Picture& frame);
// The moon's width over its height: the largest patch of moonlit pixels that begins in the
// upper 45% of the picture, measured by its spread each way. 0 when there is no such patch.
double MoonShape(const Picture& picture);
// Whether any of the two outermost rows and columns is mostly black: a part of the window
// the scene left unpainted.
bool BlackEdge(const Picture& picture);
// The seascape drawn whole at the picture's shape: a round moon (within 3%) and no black edge.
bool ShowsTheWholeView(const Picture& picture);
// The part of `picture` from (left, top), `width` x `height` pixels.
Picture Crop(const Picture& picture, int left, int top, int width, int height);

}  // namespace e2e

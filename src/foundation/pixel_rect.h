// A rectangle of window pixels, counted from the lower left corner as OpenGL counts them.
#pragma once

namespace driftglass {

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

}  // namespace driftglass

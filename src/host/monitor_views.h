// Where a full-screen window that covers several monitors draws its views: one per monitor,
// each with the monitor's own shape. Pure; the window thread works it out before the render
// thread starts.
#pragma once

#include <vector>

#include "foundation/pixel_rect.h"

namespace driftglass {

// A rectangle of the screen in pixels, from its upper left corner, as window systems count.
struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct Monitor {
  ScreenRect area;
  bool primary = false;
};

// The views of a window lying at `window` on the screen: each monitor's part of the window,
// in the window's pixels from its lower left corner (as OpenGL counts them). A monitor that
// repeats another or lies within one (a mirrored display) is left out. With `allMonitors`
// false, only the primary monitor's view (the first monitor's when none is marked). No view
// at all (no monitor known, or none meeting the window) means the window whole.
std::vector<PixelRect> MonitorViews(const std::vector<Monitor>& monitors, const ScreenRect& window,
                                    bool allMonitors);

}  // namespace driftglass

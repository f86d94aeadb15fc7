// One view per monitor.
#include "host/monitor_views.h"

#include <algorithm>

namespace driftglass {
namespace {

bool Within(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

std::vector<PixelRect> MonitorViews(const std::vector<Monitor>& monitors, const ScreenRect& window,
                                    bool allMonitors) {
  std::vector<const Monitor*> shown;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const ScreenRect& area = monitors[i].area;
    if (area.width <= 0 || area.height <= 0) continue;
    // Left out when another holds it: a larger one, or the same one listed earlier.
    bool held = false;
    for (size_t j = 0; j < monitors.size() && !held; ++j) {
      const ScreenRect& other = monitors[j].area;
      const bool same = other.x == area.x && other.y == area.y && other.width == area.width &&
                        other.height == area.height;
      held = j != i && Within(area, other) && (!same || j < i);
    }
    if (!held) shown.push_back(&monitors[i]);
  }
  if (!allMonitors && !shown.empty()) {
    const auto primary = std::find_if(shown.begin(), shown.end(),
                                      [](const Monitor* monitor) { return monitor->primary; });
    const Monitor* only = primary != shown.end() ? *primary : shown.front();
    shown = {only};
  }
  std::vector<PixelRect> views;
  for (const Monitor* monitor : shown) {
    const ScreenRect& a = monitor->area;
    const int x0 = std::max(a.x, window.x), y0 = std::max(a.y, window.y);
    const int x1 = std::min(a.x + a.width, window.x + window.width);
    const int y1 = std::min(a.y + a.height, window.y + window.height);
    if (x1 <= x0 || y1 <= y0) continue;
    // Window pixels, rows counted up from the window's bottom.
    views.push_back(
        PixelRect{x0 - window.x, window.y + window.height - y1, x1 - x0, y1 - y0});
  }
  if (views.empty()) views.push_back(PixelRect{0, 0, window.width, window.height});
  return views;
}

}  // namespace driftglass

// One view per monitor of a full-screen window.
#include "host/monitor_views.h"

#include <gtest/gtest.h>

namespace driftglass {
namespace {

TEST(MonitorViews, EachMonitorGetsItsPartOfTheWindowCountedFromTheBottom) {
  const ScreenRect wide{0, 0, 2560, 720};
  const Monitor left{{0, 0, 1280, 720}, true}, right{{1280, 0, 1280, 720}, false};
  // A taller one on the right, whose top is higher on the desktop: the window spans both.
  const Monitor tall{{1280, -300, 1080, 1920}, false};
  const ScreenRect spanning{0, -300, 2360, 1920};
  const struct {
    const char* layout;
    std::vector<Monitor> monitors;
    ScreenRect window;
    bool allMonitors;
    std::vector<PixelRect> views;
  } cases[] = {
      {"side by side", {left, right}, wide, true, {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}},
      {"the primary alone", {left, right}, wide, false, {{0, 0, 1280, 720}}},
      {"the primary second", {{left.area, false}, {right.area, true}}, wide, false,
       {{1280, 0, 1280, 720}}},
      {"none marked primary: the first", {{right.area, false}, {left.area, false}}, wide, false,
       {{1280, 0, 1280, 720}}},
      {"mirrored", {left, left, {{100, 100, 640, 480}, false}}, {0, 0, 1280, 720}, true,
       {{0, 0, 1280, 720}}},
      {"of other sizes", {left, tall}, spanning, true, {{0, 900, 1280, 720}, {1280, 0, 1080, 1920}}},
      {"a preview's window within a monitor", {left, right}, {1400, 100, 200, 150}, true,
       {{0, 0, 200, 150}}},
      {"no monitor known", {}, wide, true, {{0, 0, 2560, 720}}},
      {"no monitor where the window is", {left}, {3000, 0, 640, 480}, true, {{0, 0, 640, 480}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MonitorViews(c.monitors, c.window, c.allMonitors), c.views) << c.layout;
  }
}

}  // namespace
}  // namespace driftglass

// The view for each window shape and each monitor, and the banner's schedule.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/view_shape.h"
#include "host/monitor_views.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

TEST(WelcomingMessage, FadesInStaysAndFadesOutOverTwentySeconds) {
  EXPECT_EQ(WelcomingMessage::Opacity(0), 0.0);
  EXPECT_EQ(WelcomingMessage::Opacity(3999), 0.0);
  EXPECT_NEAR(WelcomingMessage::Opacity(5250), 0.5, 1e-12);
  EXPECT_EQ(WelcomingMessage::Opacity(10000), 1.0);
  EXPECT_NEAR(WelcomingMessage::Opacity(18750), 0.5, 1e-12);
  EXPECT_NEAR(WelcomingMessage::Opacity(20000), 0.0, 1e-12);
  // One 30-second frame jumps straight past the end: below zero, which draws nothing.
  EXPECT_LT(WelcomingMessage::Opacity(30000), 0.0);
  // Continuous at every boundary.
  for (double boundary : {4000.0, 6500.0, 17500.0}) {
    EXPECT_NEAR(WelcomingMessage::Opacity(boundary - 1e-6), WelcomingMessage::Opacity(boundary),
                1e-6)
        << boundary;
  }
}

TEST(ViewShape, EveryShapeSeesTheWhole43FrameUnstretchedAndBeyondTheDecorGetsBars) {
  const double h = FourThreeHalfHeight(), w = FourThreeHalfWidth();
  EXPECT_NEAR(h, 4 * std::tan(10.5 / 180 * 3.14159265358979), 1e-12);
  struct Case {
    int width, height;
    double fieldOfViewY, halfWidth, halfHeight;
    PixelRect viewport;
  };
  const Case cases[] = {
      {400, 300, 21.0, w, h, {0, 0, 400, 300}},               // 4:3 as ever
      {1920, 1080, 21.0, h * 16 / 9, h, {0, 0, 1920, 1080}},  // wider: more at the sides
      {3840, 1080, 21.0, h * 32 / 9, h, {0, 0, 3840, 1080}},
      {1280, 1024, 22.366, w, w / 1.25, {0, 0, 1280, 1024}},  // narrower: more above and below
      {1080, 1920, 47.434, w, w * 16 / 9, {0, 0, 1080, 1920}},
      {4000, 1000, 21.0, h * 32 / 9, h, {222, 0, 3556, 1000}},  // past 32:9: bars at the sides
      {500, 1000, 47.434, w, w * 16 / 9, {0, 55, 500, 889}},    // past 9:16: above and below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const ViewShape view = ShapeViewFor(PixelRect{0, 0, c.width, c.height});
    EXPECT_NEAR(view.fieldOfViewY, c.fieldOfViewY, 0.01);
    EXPECT_NEAR(view.halfWidth, c.halfWidth, 1e-6);
    EXPECT_NEAR(view.halfHeight, c.halfHeight, 1e-6);
    // Round things stay round: the plane's shape is the viewport's.
    EXPECT_NEAR(view.halfWidth / view.halfHeight,
                static_cast<double>(view.viewport.width) / view.viewport.height, 2e-3);
    EXPECT_EQ(view.viewport, c.viewport);
    EXPECT_GE(view.halfWidth, w - 1e-9);  // the 4:3 frame is always whole
    EXPECT_GE(view.halfHeight, h - 1e-9);
  }
  EXPECT_EQ(ShapeViewFor(PixelRect{0, 0, 0, 10}).viewport.width, 0);
}

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

// The window each run mode of the Linux program draws in.
#include "host/window_plan.h"

#include <gtest/gtest.h>

namespace driftglass {
namespace {

TEST(WindowPlan, EachModeDrawsWhereItShouldAndOnlyTheUsersOwnRunsMayShowABox) {
  const struct {
    std::vector<std::string> arguments;
    WindowPlace place;
    WindowInput input;
    const char* title;
    bool box;
    int missing, width, height;
  } cases[] = {
      {{"-root"}, WindowPlace::Given, WindowInput::Ignored, "", false, 1, 1024, 768},
      {{"-window-id", "0x2a"}, WindowPlace::InParent, WindowInput::Ignored, "Preview", false, -1,
       1024, 768},
      {{"-s"}, WindowPlace::OverScreen, WindowInput::SaverRules, "Screen Saver", true, 1, 1024,
       768},
      {{}, WindowPlace::OwnWindow, WindowInput::Escape, "Driftglass #1", true, 1, 1024, 768},
      {{"-window", "--size", "320x240"}, WindowPlace::OwnWindow, WindowInput::Escape,
       "Driftglass #1", true, 1, 320, 240},
  };
  for (const auto& c : cases) {
    const WindowPlan plan = PlanWindow(ParseCommandLine(c.arguments));
    SCOPED_TRACE(c.title);
    EXPECT_EQ(plan.place, c.place);
    EXPECT_EQ(plan.input, c.input);
    EXPECT_EQ(plan.title, c.title);
    EXPECT_EQ(plan.mayShowBox, c.box);
    EXPECT_EQ(plan.missingWindowStatus, c.missing);
    EXPECT_EQ(plan.width, c.width);
    EXPECT_EQ(plan.height, c.height);
    EXPECT_EQ(plan.parent, c.place == WindowPlace::InParent ? 42u : 0u);
  }
}

}  // namespace
}  // namespace driftglass

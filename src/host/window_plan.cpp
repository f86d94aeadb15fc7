// The window each run mode draws in.
#include "host/window_plan.h"

namespace driftglass {

WindowPlan PlanWindow(const CommandLine& commandLine) {
  WindowPlan plan;
  switch (commandLine.mode) {
    case RunMode::Root:
      plan.place = WindowPlace::Given;
      break;
    case RunMode::Preview:
      plan.place = WindowPlace::InParent;
      plan.parent = commandLine.window;
      plan.title = "Preview";
      plan.missingWindowStatus = -1;
      break;
    case RunMode::FullScreen:
      plan.place = WindowPlace::OverScreen;
      plan.title = "Screen Saver";
      plan.input = WindowInput::SaverRules;
      plan.mayShowBox = true;
      break;
    default:
      plan.place = WindowPlace::OwnWindow;
      if (commandLine.width > 0) plan.width = commandLine.width;
      if (commandLine.height > 0) plan.height = commandLine.height;
      plan.title = "Driftglass #1";
      plan.input = WindowInput::Escape;
      plan.mayShowBox = true;
      break;
  }
  return plan;
}

}  // namespace driftglass

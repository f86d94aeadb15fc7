// The log of a normal run of the empty scene, from the first line to the end of the uninstall
// (the "FPS = ..." line follows). Shared by the unit and end-to-end tests of both programs.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::string> NormalRunLog() {
  return {
      "   Notify : Application has run",
      "   Notify : Run looping thread",
      "   Notify : Driftglass #1 screensaver",
      "   Notify : Version: 1.0",
      "   Notify : Start common initialization",
      "   Notify : Context for OpenGL has been created",
      "   Notify : GLEW initialized",
      "   Notify : OpenGL 2.0 is found",
      "   Notify : WGLEW_EXT_swap_control extension is found",
      "   Notify : VSYNC has been setted properly",
      "   Notify : Video initialization has finished successfully",
      "   Notify : Start scene initialization",
      "   Notify : Scene has been initialized successfully",
      "   Notify : Start common uninstall",
      "   Notify : Common uninstall has finished properly",
  };
}

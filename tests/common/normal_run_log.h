// The log of a normal run, from the first line to the end of the uninstall (the "FPS = ..."
// line follows), with `sceneLines` where the scene objects log their own start-up. Shared by
// the unit and end-to-end tests of both programs.
#pragma once

#include <string>
#include <vector>

// What the saver's own scene logs while it starts.
inline std::vector<std::string> SaverSceneLog() {
  return {
      "   Notify : Creating OGL program for stalk",
      "   Notify : Creating OGL program for bud",
      "   Notify : Creating OGL program for flower",
      "   Notify : Initialization of FarCliffDecorClass",
      "   Notify : Bitmap is loaded",
      "   Notify : Initialization of WavingSeaDecorClass",
      "   Notify : Bitmap is loaded",
      "   Notify : Initialization of NearCliffDecorClass",
      "   Notify : Bitmap is loaded",
  };
}

// `swapControl` is the extension the platform names: GLX_EXT_swap_control on Linux with Mesa,
// WGLEW_EXT_swap_control on Windows. `soundLine` is the sound device's line.
inline std::vector<std::string> NormalRunLog(
    const std::vector<std::string>& sceneLines, const std::string& swapControl,
    const std::string& soundLine = "   Notify : SoundManager has been created") {
  std::vector<std::string> lines = {
      "   Notify : Application has run",
      "   Notify : Run looping thread",
      "   Notify : Driftglass #1 screensaver",
      "   Notify : Version: 1.0",
      "   Notify : Start common initialization",
      soundLine,
      "   Notify : Context for OpenGL has been created",
      "   Notify : GLEW initialized",
      "   Notify : OpenGL 2.0 is found",
      "   Notify : " + swapControl + " extension is found",
      "   Notify : VSYNC has been setted properly",
      "   Notify : Video initialization has finished successfully",
      "   Notify : Start scene initialization",
  };
  lines.insert(lines.end(), sceneLines.begin(), sceneLines.end());
  lines.insert(lines.end(), {
                                "   Notify : Scene has been initialized successfully",
                                "   Notify : Start common uninstall",
                                "   Notify : Common uninstall has finished properly",
                            });
  return lines;
}

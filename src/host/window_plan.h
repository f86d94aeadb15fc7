// What a run mode asks of its window, decided once from the command line: where it draws, how
// large, what it is called, what input does, whether a box may tell of a failed start and what
// a missing window makes the exit status. Each program's window code creates the window and
// runs its loop from this plan (the Windows saver knows full screen and preview only, and shows
// its box in both, as Windows savers do). Pure.
#pragma once

#include <cstdint>
#include <string>

#include "host/command_line.h"

namespace driftglass {

enum class WindowPlace {
  Given,       // the daemon's window ($XSCREENSAVER_WINDOW), else the root window: not ours
  InParent,    // a child of the given preview window, following its size
  OverScreen,  // over the whole screen, above every other window, with the scene per monitor
  OwnWindow,   // a window of its own at a fixed size, managed as any other
};

enum class WindowInput {
  Ignored,    // input belongs to whoever made the window
  Escape,     // Escape (or the window manager's close) ends it
  SaverRules  // a key, a button, a few pixels of pointer or a loss of activation end it
};

struct WindowPlan {
  WindowPlace place = WindowPlace::OwnWindow;
  uint32_t parent = 0;  // InParent: the preview window
  int width = 1024, height = 768;  // OwnWindow; the others take the size of where they draw
  std::string title;               // empty for a window that is not ours
  WindowInput input = WindowInput::Ignored;
  // Only a saver the user started by hand may show a box: under the daemon or in a preview
  // nobody could answer it, and it would sit above the daemon's window.
  bool mayShowBox = false;
  // The exit status when the window to draw in is not there: a preview of a window that is
  // gone was a bad command line (-1, seen as 255), anything else a failed start.
  int missingWindowStatus = 1;
};

// The plan for a run of `commandLine` (one of the modes that draw).
WindowPlan PlanWindow(const CommandLine& commandLine);

}  // namespace driftglass

// A test's own connection to the X display: typing, moving the pointer, finding windows by
// name and making windows to host a preview.
#pragma once

// clang-format off
#include <X11/Xlib.h>
#include <X11/keysym.h>
// clang-format on

#include <chrono>

#include "picture_checks.h"

namespace e2e {

class X11Session {
 public:
  X11Session();  // waits a moment for a busy server; Valid() tells
  ~X11Session();
  bool Valid() const { return display_ != nullptr; }
  Display* Get() const { return display_; }

  void Key(KeySym key);
  void MovePointerTo(int x, int y);
  // The first window below the root whose name is `name`, other than `except`, or 0.
  Window FindWindowNamed(const char* name, Window except = 0);
  // Waits until a window of that name is on the screen (mapped and viewable).
  Window WaitForWindowNamed(const char* name, std::chrono::milliseconds timeout,
                            Window except = 0);
  // A mapped 320 x 240 top-level window.
  Window MakeWindow();
  void Destroy(Window window);
  void Focus(Window window);
  // What the screen shows now.
  Picture CaptureScreen();

 private:
  Window FindBelow(Window window, const char* name, Window except);
  Display* display_ = nullptr;
};

}  // namespace e2e

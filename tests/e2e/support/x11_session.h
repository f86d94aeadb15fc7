// A test's own connection to the X display: typing, moving the pointer, finding windows by
// name, making windows to host a preview, sending client messages and looking at the screen.
#pragma once

// clang-format off
#include <X11/Xlib.h>
#include <X11/keysym.h>
// clang-format on

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture_checks.h"

namespace e2e {

std::string Hex(Window window);

class X11Session {
 public:
  // This test's display, or the one named; waits a moment for a busy server. Valid() tells.
  explicit X11Session(const char* name = nullptr);
  ~X11Session();
  bool Valid() const { return display_ != nullptr; }
  Display* Get() const { return display_; }

  void Key(KeySym key);
  void MovePointerTo(int x, int y);
  // The first window below the root whose name is `name`, other than `except`, or 0.
  Window FindWindowNamed(const char* name, Window except = 0);
  // Waits until a window of that name is on the screen (mapped and viewable).
  Window WaitForWindowNamed(const char* name, std::chrono::milliseconds timeout, Window except = 0);
  // A mapped 320 x 240 top-level window at (10, 10), black inside.
  Window MakeWindow();
  void Destroy(Window window);
  void Resize(Window window, int width, int height);
  void Focus(Window window);
  // The title bar's close button, as a window manager passes it on.
  void AskToClose(Window window);
  // A client message whose first word is 0, as any client may send.
  void SendStrangersMessage(Window window);
  // What the screen shows now.
  Picture CaptureScreen();
  // Waits until the screen shows what `wanted` looks for in it. When it never does, the last
  // screen looked at is kept in the test's folder and what it shows is printed.
  bool WaitForScreen(const std::function<bool(const Picture&)>& wanted,
                     std::chrono::milliseconds timeout);
  // Waits until the screen's region (in pixels) shows the whole view at its shape: a frame of
  // that size (once the creature has left the moon, if it was in the way).
  bool WaitForSeascape(int left, int top, int width, int height, std::chrono::milliseconds timeout);

 private:
  Window FindBelow(Window window, const char* name, Window except);
  void SendMessage(Window window, Atom type, long first);
  Display* display_ = nullptr;
};

class Process;

// An X server of the test's own, on a free display it picks, ended with the object.
class OwnXServer {
 public:
  OwnXServer(const std::string& program, std::vector<std::string> arguments);
  ~OwnXServer();
  bool Valid() const { return !name_.empty(); }      // it takes connections
  const std::string& Name() const { return name_; }  // ":N"
  void Kill();                                       // as if it crashed

 private:
  std::unique_ptr<Process> server_;
  std::string name_;
};

// Two monitors side by side, each `width` x `height`: Xephyr with two Xinerama heads, inside
// this test's display.
struct TwoMonitorDisplay : OwnXServer {
  TwoMonitorDisplay(int width, int height);
};

}  // namespace e2e

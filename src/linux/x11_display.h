// Connections to the X server and the errors they report, shared by the window and render
// threads. Each thread talks over a connection of its own, and the errors it causes are
// recorded for that thread alone.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "host/monitor_views.h"

namespace driftglass {

// XOpenDisplay, tried again for a moment when the server is too busy to accept (a busy
// server answers a burst of connections with EAGAIN). Null when there is no server. The
// first call also installs the error handler below, and a handler for a lost server that
// logs it and ends the process with status 1 (also when the GL driver faults on the dead
// connection before Xlib notices).
Display* OpenDisplay();

// Closes a connection OpenDisplay made.
void CloseDisplay(Display* display);

// Catches the X errors of the requests made between its construction and Finish on this
// thread's connection `display`. A window that vanishes under us (a preview parent closed)
// gives an error here instead of ending the process.
class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  // Waits for the server's answer to everything sent; the first error's code, or 0.
  int Finish();

 private:
  Display* display_;
};

// The monitors of the display's default screen, in root window pixels: RandR 1.5's, or the
// Xinerama heads where RandR reports one monitor or none. Empty when neither tells.
std::vector<Monitor> ReadMonitors(Display* display);

// The window's attributes, read in one request; nothing when the window does not exist.
std::optional<XWindowAttributes> ReadWindowAttributes(Display* display, Window window);

}  // namespace driftglass

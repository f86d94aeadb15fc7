// Opening a connection to the X server, shared by the window and render threads.
#pragma once

#include <X11/Xlib.h>

namespace driftglass {

// XOpenDisplay, tried again for a moment when the server is too busy to accept (a busy
// server answers a burst of connections with EAGAIN). Null when there is no server.
Display* OpenDisplay();

}  // namespace driftglass

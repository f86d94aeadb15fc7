// Retrying display connections, and X errors kept per thread.
#include "host/linux/x11_display.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "foundation/event_log.h"

namespace driftglass {
namespace {

// Xlib calls the error handler on the thread that reads the error from its connection, and
// every connection here belongs to one thread: so the code is the thread's.
thread_local int firstXError = 0;

int RecordXError(Display*, XErrorEvent* error) {
  if (firstXError == 0) firstXError = error->error_code;
  return 0;
}

// A broken connection (the server ended or was killed) cannot be mended, and Xlib ends the
// process when this returns. The other thread may be inside Xlib or the GL driver on the same
// dead server, so no destructor may run: say why, then end at once.
int DisplayLost(Display*) {
  static std::atomic_flag ending = ATOMIC_FLAG_INIT;
  if (!ending.test_and_set()) {
    TheEventLog().Write(kError, "The connection to the X display is lost");
    std::fputs("driftglass: the connection to the X display is lost\n", stderr);
    std::_Exit(1);
  }
  for (;;) pause();  // the first thread to notice is ending the process
}

}  // namespace

Display* OpenDisplay() {
  static std::once_flag handlerInstalled;
  std::call_once(handlerInstalled, [] {
    XSetErrorHandler(RecordXError);
    XSetIOErrorHandler(DisplayLost);
  });
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') return nullptr;
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

XErrorTrap::XErrorTrap(Display* display) : display_(display) {
  XSync(display_, False);
  firstXError = 0;
}

int XErrorTrap::Finish() {
  XSync(display_, False);
  const int code = firstXError;
  firstXError = 0;
  return code;
}

std::optional<XWindowAttributes> ReadWindowAttributes(Display* display, Window window) {
  XErrorTrap trap(display);
  XWindowAttributes attributes{};
  const Status status = XGetWindowAttributes(display, window, &attributes);
  if (trap.Finish() != 0 || status == 0) return std::nullopt;
  return attributes;
}

}  // namespace driftglass

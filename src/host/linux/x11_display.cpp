// Retrying display connections, and X errors kept per thread.
#include "host/linux/x11_display.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace driftglass {
namespace {

// Xlib calls the error handler on the thread that reads the error from its connection, and
// every connection here belongs to one thread: so the code is the thread's.
thread_local int firstXError = 0;

int RecordXError(Display*, XErrorEvent* error) {
  if (firstXError == 0) firstXError = error->error_code;
  return 0;
}

}  // namespace

Display* OpenDisplay() {
  static std::once_flag handlerInstalled;
  std::call_once(handlerInstalled, [] { XSetErrorHandler(RecordXError); });
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

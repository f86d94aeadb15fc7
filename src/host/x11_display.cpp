// Retrying display connections.
#include "host/x11_display.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace driftglass {

Display* OpenDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') return nullptr;
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

}  // namespace driftglass

// The message box on Windows; window thread only.
#include <windows.h>

#include "host/message_box.h"

namespace driftglass {

bool ShowMessageBox(const char* title, const char* text) {
  return MessageBoxA(nullptr, text, title, MB_OK | MB_TOPMOST) != 0;
}

}  // namespace driftglass

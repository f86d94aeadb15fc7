// The settings dialog, on either platform: the banner, "Show FPS" and "VSync control" with
// their explanations, "Confirm settings" and "Reset to default". Window thread only.
#pragma once

#include <cstdint>

#include "host/option_store.h"
#include "host/stored_options.h"

namespace driftglass {

// Shows the dialog until it is closed, over the native window `owner` where the platform has
// one (0: none); returns the process exit code (1, as the dialog's result always is), or
// what the platform gives when no dialog could be shown (0 on Linux, -1 on Windows).
int RunSettingsDialog(SaverSettings& settings, OptionStore& store, uintptr_t owner);

}  // namespace driftglass

// The settings dialog (resource 2003): the banner, "Show FPS" and "VSync control" with their
// explanations, "Confirm settings" and "Reset to default". Window thread only.
#pragma once

#include <cstdint>

#include "host/stored_options.h"
#include "platform/option_store.h"

namespace driftglass {

// Shows the dialog until it is closed, over the window `owner` (0: none); returns the process
// exit code: 1, as the dialog's result always is, or -1 when no dialog could be shown.
int RunSettingsDialog(SaverSettings& settings, OptionStore& store, uintptr_t owner);

}  // namespace driftglass

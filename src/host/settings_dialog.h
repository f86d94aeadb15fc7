// The settings dialog of the Linux program.
#pragma once

#include "host/option_store.h"
#include "host/stored_options.h"

namespace driftglass {

// Shows the dialog until it is closed; returns the process exit code (1, as the dialog's
// result always is), or 0 when no dialog could be shown.
int RunSettingsDialog(SaverSettings& settings, OptionStore& store);

}  // namespace driftglass

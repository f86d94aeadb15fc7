// The Linux program's dialogs: the message shown when start-up failed and the settings dialog,
// shown by the GTK module, which is loaded the first time one is needed. Window thread only.
#pragma once

#include <cstdint>

#include "host/stored_options.h"
#include "platform/option_store.h"

namespace driftglass {

// Shows `text` in a box titled `title` that stays above other windows; returns when closed.
// False when no box could be shown (the caller then has only the log; why is on stderr).
bool ShowMessageBox(const char* title, const char* text);

// The banner, "Show FPS" and "VSync control" with their explanations, "Confirm settings" and
// "Reset to default", until the dialog is closed; returns the process exit code: 1, as the
// dialog's result always is, or -1 when no dialog could be shown, as a modal dialog that
// cannot be made returns on Windows (why is on stderr). The dialog
// is a window of its own (the owner given on the command line is not used).
int RunSettingsDialog(SaverSettings& settings, OptionStore& store, uintptr_t owner);

}  // namespace driftglass

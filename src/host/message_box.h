// A modal message with an OK button, shown by the window thread when start-up failed.
#pragma once

namespace driftglass {

// Shows `text` in a box titled `title` that stays above other windows; returns when closed.
// False when no box could be shown (the caller then has only the log).
bool ShowMessageBox(const char* title, const char* text);

}  // namespace driftglass

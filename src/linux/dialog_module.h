// The seam between the Linux program and its dialogs, which are built with GTK 3 into a module
// of their own (driftglass-gtk.so): a saver that never shows a dialog never loads GTK and the
// forty libraries it brings. Only virtual calls and plain values cross the seam, so the module
// needs nothing of the program's code. Window (main) thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/settings_dialog_model.h"

namespace driftglass {

// What the settings dialog asks of the program.
class SettingsDialogHost {
 public:
  virtual ~SettingsDialogHost() = default;
  // A click on control `control` (a check box now `checked`), as the model takes it.
  virtual SettingsDialogModel::Outcome Command(int control, bool checked) = 0;
  // Whether check box `control` shows its option set.
  virtual bool Checked(int control) const = 0;
  virtual std::string SaveError() const = 0;
  // The banner as rows of 0x00RRGGBB pixels from the top, empty when it cannot be read.
  int bannerWidth = 0, bannerHeight = 0;
  std::vector<uint32_t> banner;
  // The icon file's bytes, empty when there is none.
  std::vector<unsigned char> icon;
};

// The module's entry points, looked up by these names. Each also gives way to SIGTERM and
// SIGINT: `terminationFd` becomes readable when one arrives.
// Shows `text` in a box titled `title` above other windows until it is answered; false when
// no box could be shown.
using ShowMessageBoxEntry = bool (*)(const char* title, const char* text, int terminationFd);
inline constexpr const char* kShowMessageBoxEntry = "DriftglassShowMessageBox";
// Runs the settings dialog until it is closed; false when it could not be shown.
using RunSettingsDialogEntry = bool (*)(SettingsDialogHost& host, int terminationFd);
inline constexpr const char* kRunSettingsDialogEntry = "DriftglassRunSettingsDialog";

}  // namespace driftglass

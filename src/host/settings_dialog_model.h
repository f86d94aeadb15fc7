// What the settings dialog does with each click, apart from any window system: the check
// boxes change the options in memory at once, "Reset to default" restores the defaults in
// memory, and only "Confirm settings" writes them. Used by the dialog's thread.
#pragma once

#include <string>

#include "host/stored_options.h"

namespace driftglass {

// Control ids of dialog 2003.
inline constexpr int kConfirmSettingsId = 1;
inline constexpr int kResetToDefaultId = 2;
inline constexpr int kShowFpsId = 103;
inline constexpr int kVSyncControlId = 104;
inline constexpr int kPlaySoundId = 106;
inline constexpr int kAllMonitorsId = 107;

inline constexpr const char* kSettingsTitle = "Driftglass screensaver - Settings";
inline constexpr const char* kShowFpsText = "Show FPS";
inline constexpr const char* kVSyncText = "VSync control";
inline constexpr const char* kPlaySoundText = "Play sound";
inline constexpr const char* kAllMonitorsText = "Show on every monitor";
inline constexpr const char* kShowFpsHelp =
    "This option allows you to clarify the productivity of your video card and CPU";
inline constexpr const char* kVSyncHelp =
    "This option makes an image smoother and avoids unnecessary calculations";
inline constexpr const char* kPlaySoundHelp =
    "The sea and the wind, and the creature's wings; untick it for a silent saver";
inline constexpr const char* kAllMonitorsHelp =
    "Untick it to show the scene on the main monitor only and leave the others dark";
inline constexpr const char* kConfirmText = "Confirm settings";
inline constexpr const char* kResetText = "Reset to default";

class SettingsDialogModel {
 public:
  enum class Outcome {
    Ignored,     // not ours: the default handling applies
    Handled,     // done; the check boxes show the options
    Close,       // saved: the dialog ends
    SaveFailed,  // nothing was saved: tell the user SaveError() and stay open
  };

  SettingsDialogModel(SaverSettings& settings, OptionStore& store)
      : settings_(settings), store_(store) {}

  // The dialog's check boxes, in their order, each an option that is on or off.
  struct CheckBox {
    int id;
    const char* text;
    const char* help;
    StoredOptionsParameter_long SaverSettings::*option;
  };
  static constexpr CheckBox kCheckBoxes[] = {
      {kShowFpsId, kShowFpsText, kShowFpsHelp, &SaverSettings::enableFps},
      {kVSyncControlId, kVSyncText, kVSyncHelp, &SaverSettings::enableVSync},
      {kPlaySoundId, kPlaySoundText, kPlaySoundHelp, &SaverSettings::enableSound},
      {kAllMonitorsId, kAllMonitorsText, kAllMonitorsHelp, &SaverSettings::allMonitors},
  };

  // Whether check box `controlId` shows its option on, as the options stand.
  bool Checked(int controlId) const;

  // A command from control `controlId` with its notification code; `checked` is the state of
  // the clicked check box after the click.
  Outcome OnCommand(int controlId, int notification, bool checked);
  const std::string& SaveError() const { return saveError_; }

 private:
  SaverSettings& settings_;
  OptionStore& store_;
  std::string saveError_;
};

}  // namespace driftglass

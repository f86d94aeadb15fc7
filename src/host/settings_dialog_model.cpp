// The settings dialog's command rules.
#include "host/settings_dialog_model.h"

namespace driftglass {

SettingsDialogModel::Outcome SettingsDialogModel::OnCommand(int controlId, int notification,
                                                            bool checked) {
  if (notification != 0) return Outcome::Ignored;
  switch (controlId) {
    case kConfirmSettingsId: {
      if (settings_.options.Save() == kSucceeded) return Outcome::Close;
      saveError_ = "The settings could not be saved";
      const std::string why = store_.LastError();
      saveError_ += why.empty() ? "." : ": " + why;
      return Outcome::SaveFailed;
    }
    case kResetToDefaultId:
      settings_.options.ResetToDefault();
      return Outcome::Handled;
    default:
      for (const CheckBox& box : kCheckBoxes) {
        if (box.id != controlId) continue;
        (settings_.*box.option).Set(checked ? 1 : 0);
        return Outcome::Handled;
      }
      return Outcome::Ignored;
  }
}

bool SettingsDialogModel::Checked(int controlId) const {
  for (const CheckBox& box : kCheckBoxes) {
    if (box.id == controlId) return (settings_.*box.option).Get() != 0;
  }
  return false;
}

}  // namespace driftglass

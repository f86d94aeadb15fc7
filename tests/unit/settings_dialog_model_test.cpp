// What each click in the settings dialog does to the options and the store.
#include "host/settings_dialog_model.h"

#include <gtest/gtest.h>

#include "common/names.h"

namespace driftglass {
namespace {

using Outcome = SettingsDialogModel::Outcome;

class SettingsDialogTest : public ::testing::Test {
 protected:
  const std::string key_ = names::kOptionsKey;
  MemoryOptionStore store_;
  SaverSettings settings_{store_};
  SettingsDialogModel model_{settings_, store_};
  std::string Stored(const std::string& name) { return store_.keys.at(key_).at(name); }
};

TEST_F(SettingsDialogTest, EachBoxChangesItsOwnOptionInMemoryAndOnlyConfirmSaves) {
  const struct {
    int control;
    bool checked;  // the click, against the default
    const StoredOptionsParameter_long& option;
  } boxes[] = {{kShowFpsId, true, settings_.enableFps},
               {kVSyncControlId, false, settings_.enableVSync},
               {kPlaySoundId, false, settings_.enableSound},
               {kAllMonitorsId, false, settings_.allMonitors}};
  const auto values = [&] {
    std::vector<int32_t> all;
    for (const auto& box : boxes) all.push_back(box.option.Get());
    return all;
  };
  for (const auto& box : boxes) EXPECT_EQ(model_.Checked(box.control), !box.checked);
  for (const auto& box : boxes) {
    const std::vector<int32_t> before = values();
    EXPECT_EQ(model_.OnCommand(box.control, 0, box.checked), Outcome::Handled) << box.control;
    EXPECT_EQ(box.option.Get(), box.checked ? 1 : 0) << box.control;
    EXPECT_EQ(model_.Checked(box.control), box.checked) << box.control;
    const std::vector<int32_t> after = values();
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i) changed += before[i] != after[i] ? 1 : 0;
    EXPECT_EQ(changed, 1) << box.control;
  }
  EXPECT_TRUE(store_.keys.empty());

  EXPECT_EQ(model_.OnCommand(kConfirmSettingsId, 0, false), Outcome::Close);
  EXPECT_EQ(Stored("EnableVSync"), std::string("0\0", 2));
  EXPECT_EQ(Stored("EnableFPS"), std::string("1\0", 2));
  EXPECT_EQ(Stored("EnableSound"), std::string("0\0", 2));
  EXPECT_EQ(Stored("AllMonitors"), std::string("0\0", 2));
  EXPECT_EQ(Stored("SlideshowPictures"), std::string("\0", 1));
}

TEST_F(SettingsDialogTest, ResetRestoresDefaultsWithoutSavingAndOtherCommandsAreIgnored) {
  settings_.slideshowPictures.FromString("2a;1b");
  model_.OnCommand(kShowFpsId, 0, true);
  model_.OnCommand(kVSyncControlId, 0, false);
  model_.OnCommand(kPlaySoundId, 0, false);
  EXPECT_EQ(model_.OnCommand(kResetToDefaultId, 0, false), Outcome::Handled);
  EXPECT_FALSE(model_.Checked(kShowFpsId));
  EXPECT_TRUE(model_.Checked(kVSyncControlId));
  EXPECT_TRUE(model_.Checked(kPlaySoundId));
  EXPECT_TRUE(settings_.slideshowPictures.entries.empty());
  EXPECT_TRUE(store_.keys.empty());
  EXPECT_EQ(model_.OnCommand(kShowFpsId, 1, true), Outcome::Ignored);  // a notification
  EXPECT_EQ(model_.OnCommand(999, 0, true), Outcome::Ignored);
  EXPECT_FALSE(model_.Checked(kShowFpsId));
  EXPECT_FALSE(model_.Checked(999));
}

TEST_F(SettingsDialogTest, AFailedSaveIsToldAndKeepsTheDialogOpen) {
  store_.refuseWrites = true;
  model_.OnCommand(kVSyncControlId, 0, false);
  EXPECT_EQ(model_.OnCommand(kConfirmSettingsId, 0, false), Outcome::SaveFailed);
  EXPECT_NE(model_.SaveError().find("could not be saved"), std::string::npos);
  EXPECT_NE(model_.SaveError().find("refused"), std::string::npos);
  EXPECT_EQ(settings_.enableVSync.Get(), 0);  // the choice is kept for another try
  store_.refuseWrites = false;
  EXPECT_EQ(model_.OnCommand(kConfirmSettingsId, 0, false), Outcome::Close);
}

}  // namespace
}  // namespace driftglass

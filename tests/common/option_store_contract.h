// What every option store does with the saver's options, whichever place it keeps them in:
// GoogleTest's type-parameterised tests, instantiated for each store with a fixture type that
// gives the store (`Store()`) and the same place opened afresh, as by a later start
// (`Reopened()`).
#pragma once

#include <gtest/gtest.h>

#include "host/stored_options.h"

template <typename Stores>
class OptionStoreContract : public ::testing::Test {
 protected:
  Stores stores_;
};

TYPED_TEST_SUITE_P(OptionStoreContract);

TYPED_TEST_P(OptionStoreContract, AFreshStartHasTheDefaultsAndALaterOneReadsWhatWasSaved) {
  driftglass::SaverSettings fresh(this->stores_.Store());
  EXPECT_EQ(fresh.options.Load(), -1);  // nothing stored yet
  EXPECT_EQ(fresh.enableFps.Get(), 0);
  EXPECT_EQ(fresh.enableVSync.Get(), 1);
  EXPECT_EQ(fresh.enableSound.Get(), 1);
  EXPECT_TRUE(fresh.slideshowPictures.entries.empty());
  fresh.enableVSync.Set(0);
  fresh.slideshowPictures.FromString("2 lead;1back\\slash");
  ASSERT_EQ(fresh.options.Save(), 0);

  driftglass::SaverSettings later(this->stores_.Reopened());
  EXPECT_EQ(later.options.Load(), 0);
  EXPECT_EQ(later.enableFps.Get(), 0);
  EXPECT_EQ(later.enableVSync.Get(), 0);
  EXPECT_EQ(later.enableSound.Get(), 1);
  ASSERT_EQ(later.slideshowPictures.entries.size(), 2u);
  EXPECT_EQ(later.slideshowPictures.entries[0].path, " lead");
  EXPECT_EQ(later.slideshowPictures.entries[1].path, "back\\slash");
  // A reset changes memory only.
  later.options.ResetToDefault();
  EXPECT_EQ(later.enableVSync.Get(), 1);
  EXPECT_EQ(driftglass::SaverSettings(this->stores_.Reopened()).enableVSync.Get(), 0);
}

TYPED_TEST_P(OptionStoreContract, AKeyThatIsNotThereIsNotReadAndAMissingValueIsNothing) {
  driftglass::OptionStore& store = this->stores_.Store();
  EXPECT_FALSE(store.OpenForReading("Software\\Nobody\\Nothing"));
  ASSERT_TRUE(store.OpenForWriting("Software\\Tolvanet\\Test"));
  ASSERT_TRUE(store.WriteValue("Present", std::string("1\0", 2)));
  ASSERT_TRUE(store.Close());
  driftglass::OptionStore& again = this->stores_.Reopened();
  ASSERT_TRUE(again.OpenForReading("Software\\Tolvanet\\Test"));
  EXPECT_EQ(again.ReadValue("Present").value_or("none").substr(0, 1), "1");
  EXPECT_FALSE(again.ReadValue("Absent").has_value());
  again.Close();
}

REGISTER_TYPED_TEST_SUITE_P(OptionStoreContract,
                            AFreshStartHasTheDefaultsAndALaterOneReadsWhatWasSaved,
                            AKeyThatIsNotThereIsNotReadAndAMissingValueIsNothing);

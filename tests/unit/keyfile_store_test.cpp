// The Linux option file: a GLib key file that keeps what the user wrote.
#include "host/linux/keyfile_option_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/stored_options.h"

namespace driftglass {
namespace {

const std::string kGroup = "[Software\\Tolvanet\\Driftglass #1 screensaver]\n";

class KeyFileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::path(::testing::TempDir()) /
        ("keyfile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    path_ = folder_ / "config" / "driftglass.conf";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void WriteRaw(const std::string& text) {
    std::filesystem::create_directories(path_.parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string ReadRaw() {
    std::ifstream file(path_, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

TEST_F(KeyFileStoreTest, SavesIntoAFreshFolderAndLoadsBack) {
  KeyFileOptionStore store(path_.string());
  SaverSettings settings(store);
  EXPECT_FALSE(store.Unreadable());  // no file yet is a fresh start
  settings.enableFps.Set(1);
  settings.enableVSync.Set(0);
  settings.slideshowPictures.FromString("2 lead;1back\\slash;1trail ");
  ASSERT_EQ(settings.options.Save(), 0);
  EXPECT_EQ(ReadRaw(), kGroup + "EnableFPS=1\nEnableVSync=0\n" +
                           "SlideshowPictures=2 lead;1back\\\\slash;1trail\\s\n");

  KeyFileOptionStore again(path_.string());
  SaverSettings loaded(again);
  EXPECT_EQ(loaded.enableFps.Get(), 1);
  EXPECT_EQ(loaded.enableVSync.Get(), 0);
  ASSERT_EQ(loaded.slideshowPictures.entries.size(), 3u);
  EXPECT_EQ(loaded.slideshowPictures.entries[1].path, "back\\slash");
  EXPECT_EQ(loaded.slideshowPictures.entries[2].path, "trail ");
}

TEST_F(KeyFileStoreTest, AHandWrittenFileKeepsItsCommentsGroupsAndValues) {
  const std::string before =
      "# my settings\n\n[Other]\nkeep=this value \n# and this comment\n\n" + kGroup +
      "# vsync off, please\nEnableVSync = 0\n";
  WriteRaw(before);
  KeyFileOptionStore store(path_.string());
  SaverSettings settings(store);
  EXPECT_EQ(settings.enableVSync.Get(), 0);  // read although EnableFPS is missing
  EXPECT_EQ(settings.options.Load(), 1);

  ASSERT_EQ(settings.options.Save(), 0);
  const std::string after = ReadRaw();
  for (const char* kept : {"# my settings\n", "keep=this value \n", "# and this comment\n",
                           "# vsync off, please\n", "EnableFPS=0\n", "SlideshowPictures=\n"}) {
    EXPECT_NE(after.find(kept), std::string::npos) << kept << " in\n" << after;
  }
  KeyFileOptionStore again(path_.string());
  SaverSettings loaded(again);
  EXPECT_EQ(loaded.options.Load(), 0);
  EXPECT_EQ(loaded.enableVSync.Get(), 0);
}

TEST_F(KeyFileStoreTest, AFileGlibCannotReadIsReportedAndNeverOverwritten) {
  for (const std::string& damaged :
       {kGroup + "EnableFPS=1\nno equals sign\n", std::string("[Software\\Tolvanet\nEnableFPS=1\n"),
        std::string("\0\xff\xfe[\n=\n", 8)}) {
    WriteRaw(damaged);
    KeyFileOptionStore store(path_.string());
    SaverSettings settings(store);
    EXPECT_TRUE(store.Unreadable());
    EXPECT_NE(store.LastError().find(path_.string()), std::string::npos) << store.LastError();
    EXPECT_EQ(settings.enableFps.Get(), 0);  // the defaults stand
    EXPECT_EQ(settings.options.Save(), -1);
    EXPECT_EQ(ReadRaw(), damaged);
  }
}

TEST_F(KeyFileStoreTest, UnwritableLocationFailsTheSave) {
  WriteRaw("");
  // A file where the folder should be: the store cannot be created.
  KeyFileOptionStore store((path_ / "below-a-file.conf").string());
  SaverSettings settings(store);
  EXPECT_EQ(settings.options.Save(), -1);
  EXPECT_FALSE(store.LastError().empty());
}

}  // namespace
}  // namespace driftglass

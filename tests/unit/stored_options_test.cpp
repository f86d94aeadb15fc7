// Loading, saving and resetting the options, their text forms, and the key-file store.
#include "host/stored_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/keyfile_option_store.h"

namespace driftglass {
namespace {

const std::string kKey = "Software\\Tolvanet\\Driftglass #1 screensaver";

std::string Text(const MemoryOptionStore& store, const std::string& name) {
  return store.keys.at(kKey).at(name).bytes;
}

TEST(StoredOptions, FreshMachineHasDefaultsAndSavesThemAsText) {
  MemoryOptionStore store;
  SaverSettings settings(store);
  EXPECT_EQ(settings.enableFps.Get(), 0);
  EXPECT_EQ(settings.enableVSync.Get(), 1);
  EXPECT_TRUE(settings.slideshowPictures.entries.empty());
  EXPECT_EQ(settings.options.Load(), -1);

  ASSERT_EQ(settings.options.Save(), 0);
  const auto& key = store.keys.at(kKey);
  ASSERT_EQ(key.size(), 3u);
  EXPECT_EQ(Text(store, "EnableFPS"), std::string("0\0", 2));
  EXPECT_EQ(Text(store, "EnableVSync"), std::string("1\0", 2));
  EXPECT_EQ(Text(store, "SlideshowPictures"), std::string("\0", 1));
  for (const auto& [name, value] : key) EXPECT_EQ(value.type, kStringValueType) << name;
}

TEST(StoredOptions, LoadStopsAtTheFirstMissingValueInNameOrder) {
  MemoryOptionStore store;
  store.keys[kKey]["EnableVSync"] = {1, std::string("0\0", 2)};
  store.keys[kKey]["SlideshowPictures"] = {1, std::string("2a\0", 3)};
  SaverSettings settings(store);
  EXPECT_EQ(settings.options.Load(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 1);
  EXPECT_TRUE(settings.slideshowPictures.entries.empty());

  // With the first name present, the later values load, text ending at the zero byte.
  store.keys[kKey]["EnableFPS"] = {1, std::string("1\0garbage", 9)};
  EXPECT_EQ(settings.options.Load(), 0);
  EXPECT_EQ(settings.enableFps.Get(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 0);
  ASSERT_EQ(settings.slideshowPictures.entries.size(), 1u);
}

TEST(StoredOptions, NumbersReadLikeDecimalPrefixes) {
  StoredOptionsParameter_long option("EnableVSync", 1);
  const std::pair<const char*, int32_t> cases[] = {
      {"2", 2},
      {"  -5x", -5},
      {"+7", 7},
      {"yes", 0},
      {"", 0},
      {"- 3", 0},
      {"12abc", 12},
      {"99999999999", 2147483647},
      {"-99999999999", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) {
    option.Set(42);
    EXPECT_EQ(option.FromString(text), 0);
    EXPECT_EQ(option.Get(), value) << "text '" << text << "'";
  }
  std::string out;
  option.Set(-5);
  option.ToString(out);
  EXPECT_EQ(out, "-5");
  option.SetDefault();
  EXPECT_EQ(option.Get(), 1);
}

TEST(StoredOptions, PathsTextRoundTripsAndSkipsEmptyPieces) {
  StoredOptionsParameter_paths paths("SlideshowPictures");
  paths.FromString("2/home/a.jpg;1/home/b.jpg");
  ASSERT_EQ(paths.entries.size(), 2u);
  EXPECT_TRUE(paths.entries[0].flag);
  EXPECT_EQ(paths.entries[0].path, "/home/a.jpg");
  EXPECT_FALSE(paths.entries[1].flag);
  EXPECT_EQ(paths.entries[1].path, "/home/b.jpg");
  std::string out;
  paths.ToString(out);
  EXPECT_EQ(out, "2/home/a.jpg;1/home/b.jpg");

  paths.FromString(";;1x;");
  ASSERT_EQ(paths.entries.size(), 1u);
  EXPECT_FALSE(paths.entries[0].flag);
  EXPECT_EQ(paths.entries[0].path, "x");

  paths.FromString("2");
  ASSERT_EQ(paths.entries.size(), 1u);
  EXPECT_TRUE(paths.entries[0].flag);
  EXPECT_EQ(paths.entries[0].path, "");

  // Any first character other than "2" is an unmarked entry.
  paths.FromString("x/odd");
  ASSERT_EQ(paths.entries.size(), 1u);
  EXPECT_FALSE(paths.entries[0].flag);
  paths.ToString(out);
  EXPECT_EQ(out, "1/odd");

  paths.SetDefault();
  paths.ToString(out);
  EXPECT_EQ(out, "");
}

TEST(StoredOptions, ResetChangesMemoryOnlyAndAFailedSaveIsReported) {
  MemoryOptionStore store;
  store.keys[kKey]["EnableFPS"] = {1, std::string("1\0", 2)};
  store.keys[kKey]["EnableVSync"] = {1, std::string("0\0", 2)};
  store.keys[kKey]["SlideshowPictures"] = {1, std::string("2p\0", 3)};
  SaverSettings settings(store);
  ASSERT_EQ(settings.enableFps.Get(), 1);
  settings.options.ResetToDefault();
  EXPECT_EQ(settings.enableFps.Get(), 0);
  EXPECT_EQ(settings.enableVSync.Get(), 1);
  EXPECT_TRUE(settings.slideshowPictures.entries.empty());
  EXPECT_EQ(Text(store, "EnableFPS"), std::string("1\0", 2));

  store.refuseWrites = true;
  EXPECT_EQ(settings.options.Save(), -1);
  EXPECT_EQ(Text(store, "EnableFPS"), std::string("1\0", 2));
}

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
  settings.enableFps.Set(1);
  settings.enableVSync.Set(0);
  settings.slideshowPictures.FromString("2 lead;1back\\slash");
  ASSERT_EQ(settings.options.Save(), 0);
  EXPECT_EQ(ReadRaw(),
            "[Software\\Tolvanet\\Driftglass #1 screensaver]\n"
            "EnableFPS=1\nEnableVSync=0\nSlideshowPictures=2 lead;1back\\\\slash\n");
  EXPECT_FALSE(std::filesystem::exists(path_.string() + ".new"));

  KeyFileOptionStore again(path_.string());
  SaverSettings loaded(again);
  EXPECT_EQ(loaded.enableFps.Get(), 1);
  EXPECT_EQ(loaded.enableVSync.Get(), 0);
  ASSERT_EQ(loaded.slideshowPictures.entries.size(), 2u);
  EXPECT_EQ(loaded.slideshowPictures.entries[1].path, "back\\slash");
}

TEST_F(KeyFileStoreTest, DamagedFilesLoadWhatTheyCan) {
  // Garbage lines and a torn last line: the readable values still load.
  WriteRaw(
      "\x01\x02garbage\n[Software\\Tolvanet\\Driftglass #1 screensaver]\n"
      "no equals sign\nEnableFPS = 1\nEnableVSync=2\nSlideshowPictu");
  KeyFileOptionStore store(path_.string());
  SaverSettings settings(store);
  EXPECT_EQ(settings.enableFps.Get(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 2);
  EXPECT_EQ(settings.options.Load(), 1);  // SlideshowPictures is missing

  // Binary noise without our group: nothing loads, nothing crashes.
  WriteRaw(std::string("\0\xff\xfe[\n=\n[[]]\n", 12));
  KeyFileOptionStore noisy(path_.string());
  SaverSettings defaults(noisy);
  EXPECT_EQ(defaults.options.Load(), -1);
  EXPECT_EQ(defaults.enableVSync.Get(), 1);
}

TEST_F(KeyFileStoreTest, SavingKeepsOtherGroupsAsTheyWere) {
  WriteRaw(
      "[Other]\nkeep=this value\n# and this comment\n"
      "[Software\\Tolvanet\\Driftglass #1 screensaver]\nEnableFPS=1\n");
  KeyFileOptionStore store(path_.string());
  SaverSettings settings(store);
  ASSERT_EQ(settings.options.Save(), 0);
  EXPECT_EQ(ReadRaw(),
            "[Other]\nkeep=this value\n# and this comment\n"
            "[Software\\Tolvanet\\Driftglass #1 screensaver]\n"
            "EnableFPS=1\nEnableVSync=1\nSlideshowPictures=\n");
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

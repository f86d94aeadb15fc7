// Loading, saving and resetting the options, and their text forms.
#include "host/stored_options.h"

#include <gtest/gtest.h>


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

TEST(StoredOptions, EveryPresentValueLoadsAndAMissingOneKeepsItsDefault) {
  // A hand-written key with EnableVSync alone: it is read, though EnableFPS (first by name)
  // is missing, and the missing ones are reported.
  MemoryOptionStore store;
  store.keys[kKey]["EnableVSync"] = {1, std::string("0\0", 2)};
  SaverSettings settings(store);
  EXPECT_EQ(settings.options.Load(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 0);
  EXPECT_EQ(settings.enableFps.Get(), 0);

  // An unreadable number keeps the default too, and the values after it still load, their
  // text ending at the zero byte.
  store.keys[kKey]["EnableFPS"] = {1, std::string("yes\0", 4)};
  store.keys[kKey]["SlideshowPictures"] = {1, std::string("2a\0garbage", 11)};
  settings.options.ResetToDefault();
  EXPECT_EQ(settings.options.Load(), 1);
  EXPECT_EQ(settings.enableFps.Get(), 0);
  EXPECT_EQ(settings.enableVSync.Get(), 0);
  ASSERT_EQ(settings.slideshowPictures.entries.size(), 1u);
  EXPECT_EQ(settings.slideshowPictures.entries[0].path, "a");

  store.keys[kKey]["EnableFPS"] = {1, std::string("1\0", 2)};
  EXPECT_EQ(settings.options.Load(), 0);
  EXPECT_EQ(settings.enableFps.Get(), 1);
}

TEST(StoredOptions, NumbersReadLikeDecimalPrefixes) {
  StoredOptionsParameter_long option("EnableVSync", 1);
  const std::pair<const char*, int32_t> cases[] = {
      {"2", 2},
      {"  -5x", -5},
      {"+7", 7},
      {"12abc", 12},
      {"0x10", 0},
      {"99999999999", 2147483647},
      {"-99999999999", -2147483647 - 1},
      {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) {
    option.Set(42);
    EXPECT_EQ(option.FromString(text), 0);
    EXPECT_EQ(option.Get(), value) << "text '" << text << "'";
  }
  // Text that is no number is refused and the value stays.
  for (const char* text : {"yes", "", "- 3", "+"}) {
    option.Set(42);
    EXPECT_EQ(option.FromString(text), 1) << text;
    EXPECT_EQ(option.Get(), 42) << text;
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

}  // namespace
}  // namespace driftglass

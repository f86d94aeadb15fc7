// Loading, saving and resetting the options, their text forms, and the stored options and the
// command line turned into what the render thread is told.
#include "host/stored_options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/names.h"
#include "common/option_store_contract.h"
#include "common/temp_path.h"
#include "foundation/event_log.h"
#include "host/render_settings.h"

namespace driftglass {
namespace {

const std::string kKey = names::kOptionsKey;

std::string Text(const MemoryOptionStore& store, const std::string& name) {
  return store.keys.at(kKey).at(name);
}

// The memory store, which the other tests use in the place of the registry or the key file.
struct MemoryStores {
  MemoryOptionStore store;
  OptionStore& Store() { return store; }
  OptionStore& Reopened() { return store; }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, OptionStoreContract, MemoryStores);

TEST(StoredOptions, ValuesAreSavedAsTextAndARefusedSaveIsReportedAndWritesNothing) {
  MemoryOptionStore store;
  SaverSettings settings(store);
  ASSERT_EQ(settings.options.Save(), 0);
  EXPECT_EQ(Text(store, "EnableFPS"), std::string("0\0", 2));
  EXPECT_EQ(Text(store, "SlideshowPictures"), std::string("\0", 1));
  store.refuseWrites = true;
  settings.enableVSync.Set(0);
  EXPECT_EQ(settings.options.Save(), -1);
  EXPECT_EQ(Text(store, "EnableVSync"), std::string("1\0", 2));
  // Values written but lost at the commit (a full disk when the key file is replaced).
  struct LosingStore : MemoryOptionStore {
    bool Close() override {
      MemoryOptionStore::Close();
      return false;
    }
  } losing;
  EXPECT_EQ(SaverSettings(losing).options.Save(), -1);
}

TEST(StoredOptions, EveryPresentValueLoadsAndAMissingOrUnreadableOneKeepsItsDefault) {
  // A hand-written key with EnableVSync alone: it is read, though EnableFPS (first by name)
  // is missing, and the load reports the gap.
  MemoryOptionStore store;
  store.keys[kKey]["EnableVSync"] = std::string("0\0", 2);
  SaverSettings settings(store);
  EXPECT_EQ(settings.options.Load(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 0);
  // Text that is no number keeps the default; the values after it still load, their text
  // ending at the zero byte.
  store.keys[kKey]["EnableFPS"] = std::string("yes\0", 4);
  store.keys[kKey]["SlideshowPictures"] = std::string("2a\0garbage", 11);
  settings.options.ResetToDefault();
  EXPECT_EQ(settings.options.Load(), 1);
  EXPECT_EQ(settings.enableFps.Get(), 0);
  EXPECT_EQ(settings.enableVSync.Get(), 0);
  ASSERT_EQ(settings.slideshowPictures.entries.size(), 1u);
  EXPECT_EQ(settings.slideshowPictures.entries[0].path, "a");
}

TEST(StoredOptions, NumbersAreDecimalPrefixesSaturatedAt32Bits) {
  StoredOptionsParameter_long option("EnableVSync", 1);
  const std::pair<const char*, int32_t> numbers[] = {{"  -5x", -5},
                                                     {"+7", 7},
                                                     {"0x10", 0},
                                                     {"99999999999", 2147483647},
                                                     {"-99999999999", -2147483647 - 1}};
  for (const auto& [text, value] : numbers) {
    EXPECT_EQ(option.FromString(text), 0) << text;
    EXPECT_EQ(option.Get(), value) << text;
  }
  for (const char* text : {"yes", "", "- 3", "+"}) {
    option.Set(42);
    EXPECT_EQ(option.FromString(text), 1) << text;
    EXPECT_EQ(option.Get(), 42) << text;
  }
  std::string out;
  option.Set(-5);
  option.ToString(out);
  EXPECT_EQ(out, "-5");
}

TEST(StoredOptions, PathsRoundTripAndSkipEmptyPieces) {
  StoredOptionsParameter_paths paths("SlideshowPictures");
  std::string out;
  paths.FromString("2/home/a.jpg;1/home/b.jpg");
  ASSERT_EQ(paths.entries.size(), 2u);
  EXPECT_TRUE(paths.entries[0].flag);
  EXPECT_EQ(paths.entries[1].path, "/home/b.jpg");
  paths.ToString(out);
  EXPECT_EQ(out, "2/home/a.jpg;1/home/b.jpg");
  paths.FromString(";;x/odd;2;");  // any first character but "2" is an unmarked entry
  ASSERT_EQ(paths.entries.size(), 2u);
  paths.ToString(out);
  EXPECT_EQ(out, "1/odd;2");
}

TEST(RenderSettings, SwapIntervalsOutsideZeroToFourAreLoggedAndFallBackToTheDefault) {
  const auto path = UniqueTempPath("settings", ".log");
  TheEventLog().Open(path);
  MemoryOptionStore store;
  SaverSettings stored(store);
  for (int32_t interval : {0, 4, 5, 1000, -1}) {
    stored.enableVSync.Set(interval);
    const int expected = interval >= 0 && interval <= 4 ? interval : 1;
    EXPECT_EQ(MakeRenderSettings(stored, {}).swapInterval, expected) << interval;
  }
  TheEventLog().Close();
  const std::string text = ReadText(path);
  EXPECT_NE(text.find("(!)Error : EnableVSync 1000 is outside 0..4; the default 1 is used\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("EnableVSync 4 "), std::string::npos);

  // The overlay shows when the option or the command line asks; the diagnostics pass through.
  const CommandLine flags{.fixedStepMs = 20, .frames = 7};
  EXPECT_FALSE(MakeRenderSettings(stored, flags).showFrameRate);
  EXPECT_EQ(MakeRenderSettings(stored, flags).maxFrames, 7u);
  EXPECT_EQ(MakeRenderSettings(stored, flags).fixedStepMs, 20u);
  EXPECT_EQ(MakeRenderSettings(stored, flags).frameDelayUs, 0u);  // fixed steps: no pause
  stored.enableFps.Set(1);
  EXPECT_TRUE(MakeRenderSettings(stored, flags).showFrameRate);
}

TEST(RenderSettings, SoundFollowsTheCommandLineOverTheOptionAndOnlyBlankingRunsKeepIt) {
  MemoryOptionStore store;
  SaverSettings stored(store);
  // EnableSound plays unless it is 0; --sound and --no-sound decide over it.
  const struct {
    int32_t option;
    std::optional<bool> flag;
    bool plays;
  } sounds[] = {{1, {}, true},  {0, {}, false},  {2, {}, true},
                {-1, {}, true}, {0, true, true}, {1, false, false}};
  for (const auto& c : sounds) {
    stored.enableSound.Set(c.option);
    EXPECT_EQ(MakeRenderSettings(stored, {.playSound = c.flag}).playSound, c.plays) << c.option;
  }
  // Full screen and the daemon's window blank the screen and keep the display's sound; the
  // others give it up. Without --delay each pauses as xscreensaver's slider does by default.
  for (const auto& [mode, givesWay] : {std::pair{RunMode::FullScreen, false},
                                       {RunMode::Root, false},
                                       {RunMode::Preview, true},
                                       {RunMode::OwnWindow, true}}) {
    const RenderSettings settings = MakeRenderSettings(stored, {.mode = mode});
    EXPECT_EQ(settings.soundGivesWay, givesWay) << static_cast<int>(mode);
    EXPECT_EQ(settings.frameDelayUs, kDefaultFrameDelayUs);
  }
}

}  // namespace
}  // namespace driftglass

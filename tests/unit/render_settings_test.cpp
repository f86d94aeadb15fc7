// Stored options and the command line turned into what the render thread is told.
#include "host/render_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/temp_path.h"
#include "foundation/event_log.h"

namespace driftglass {
namespace {

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
  std::ifstream file(path);
  const std::string text(std::istreambuf_iterator<char>(file), {});
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
  } sounds[] = {{1, {}, true}, {0, {}, false}, {2, {}, true},    {-1, {}, true},
                {0, true, true}, {1, false, false}};
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

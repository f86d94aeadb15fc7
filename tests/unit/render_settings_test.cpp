// Stored options and diagnostic flags turned into what the render thread is told.
#include "host/render_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "foundation/event_log.h"

namespace driftglass {
namespace {

class RenderSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { TheEventLog().Open(path_); }
  void TearDown() override {
    TheEventLog().Close();
    std::filesystem::remove(path_);
  }
  std::string LogText() {
    TheEventLog().Close();
    std::ifstream file(path_);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  std::filesystem::path path_ = std::filesystem::path(::testing::TempDir()) / "settings.log";
  MemoryOptionStore store_;
  SaverSettings stored_{store_};
};

TEST_F(RenderSettingsTest, SwapIntervalsOutsideZeroToFourFallBackToTheDefault) {
  for (int32_t interval : {0, 1, 2, 4}) {
    stored_.enableVSync.Set(interval);
    EXPECT_EQ(MakeRenderSettings(stored_, {}).swapInterval, interval);
  }
  // 1000 would freeze the picture for seconds; -1 would reach the driver as 4294967295.
  for (int32_t interval : {5, 1000, -1, 2147483647}) {
    stored_.enableVSync.Set(interval);
    EXPECT_EQ(MakeRenderSettings(stored_, {}).swapInterval, 1) << interval;
  }
  const std::string text = LogText();
  EXPECT_NE(text.find("(!)Error : EnableVSync 1000 is outside 0..4; the default 1 is used\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("EnableVSync 4 "), std::string::npos);
}

TEST_F(RenderSettingsTest, TheOverlayShowsWhenTheOptionOrTheFlagAsks) {
  RenderSettings flags;
  flags.maxFrames = 7;
  flags.seed = 3;
  EXPECT_FALSE(MakeRenderSettings(stored_, flags).showFrameRate);
  flags.showFrameRate = true;
  const RenderSettings fromFlag = MakeRenderSettings(stored_, flags);
  EXPECT_TRUE(fromFlag.showFrameRate);
  EXPECT_EQ(fromFlag.maxFrames, 7u);  // the diagnostics pass through
  EXPECT_EQ(fromFlag.seed, 3u);
  stored_.enableFps.Set(1);
  EXPECT_TRUE(MakeRenderSettings(stored_, {}).showFrameRate);
}

}  // namespace
}  // namespace driftglass

// Stored options and diagnostic flags turned into what the render thread is told.
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

  // The overlay shows when the option or the flag asks; the diagnostics pass through.
  RenderSettings flags;
  flags.maxFrames = 7;
  EXPECT_FALSE(MakeRenderSettings(stored, flags).showFrameRate);
  EXPECT_EQ(MakeRenderSettings(stored, flags).maxFrames, 7u);
  stored.enableFps.Set(1);
  EXPECT_TRUE(MakeRenderSettings(stored, flags).showFrameRate);

  // Sound plays unless EnableSound is 0.
  for (const auto& [value, plays] : {std::pair{1, true}, {0, false}, {2, true}, {-1, true}}) {
    stored.enableSound.Set(value);
    EXPECT_EQ(MakeRenderSettings(stored, flags).playSound, plays) << value;
  }
}

}  // namespace
}  // namespace driftglass

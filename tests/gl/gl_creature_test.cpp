// The creature's sparks on a real OpenGL context: they glow orange over whatever is behind them.
// (The body, its colours and its flight show in the reference frame.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/fake_sound_device.h"
#include "creature/flying_creature.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "gl_test.h"

namespace driftglass {
namespace {

using GlCreatureTest = gltest::GlTest;

TEST_F(GlCreatureTest, ItBuildsDrawsAndLeavesTheStateItFound) {
  FakeSoundDevice device;
  SoundManager sounds(device);
  FlyingCreatureClass creature(sounds);
  ASSERT_TRUE(creature.IsValid()) << Log();
  creature.Draw();
  ExpectTheSceneState("the creature");
}

TEST_F(GlCreatureTest, SparksAddOrangeWithoutWritingDepthAndFadeOverHundredsOfFrames) {
  driftglass::SeedRandom(1);
  SparkEmitter sparks;
  sparks.Advance(1200);
  for (int i = 0; i < 10; ++i) sparks.Emit(Vector3(-0.3 + 0.06 * i, 0, 0));
  double dimmest = 1, brightest = 0;
  for (const Spark& spark : sparks.Sparks()) {
    dimmest = std::min(dimmest, spark.brightness);
    brightest = std::max(brightest, spark.brightness);
  }
  glClearColor(0.2f, 0.2f, 0.5f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  const auto before = context_.ReadPixels();
  sparks.Advance(0);  // they stay where they are
  sparks.Draw();
  ExpectTheSceneState("the sparks");
  const auto after = context_.ReadPixels();
  int redder = 0, bluer = 0;
  for (size_t i = 0; i < after.size(); i += 4) {
    redder += after[i] > before[i] + 40;
    bluer += after[i + 2] != before[i + 2];
  }
  EXPECT_GT(redder, 50);
  EXPECT_EQ(bluer, 0);
  // They are seen through, never hiding what is drawn after them: no depth is written.
  std::vector<float> depth(static_cast<size_t>(context_.Width()) * context_.Height());
  glReadPixels(0, 0, context_.Width(), context_.Height(), GL_DEPTH_COMPONENT, GL_FLOAT,
               depth.data());
  EXPECT_EQ(*std::min_element(depth.begin(), depth.end()), 1.0f);

  // Dimmed until no channel is clipped, on black: five parts red to one of green, no blue.
  for (int frame = 0; frame < 120; ++frame) sparks.Draw();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  sparks.Draw();
  const auto dim = context_.ReadPixels();
  double red = 0, green = 0, blue = 0;
  for (size_t i = 0; i < dim.size(); i += 4) red += dim[i], green += dim[i + 1], blue += dim[i + 2];
  ASSERT_GT(green, 100);
  EXPECT_NEAR(red / green, 5.0, 0.5);
  EXPECT_EQ(blue, 0);

  // Each drawn frame keeps 0.992 of a spark's brightness until it is below 0.01: one that
  // started at 0.3 lasts about 424 frames, one at 1.0 about 574.
  const auto lasts = [](double brightness) {
    return static_cast<int>(std::ceil(std::log(0.01 / brightness) / std::log(0.992)));
  };
  for (int frame = 122; frame < lasts(dimmest) - 1; ++frame) sparks.Draw();
  EXPECT_FALSE(sparks.Sparks().empty()) << "the dimmest lasts " << lasts(dimmest);
  for (int frame = lasts(dimmest) - 1; frame <= lasts(brightest) + 1; ++frame) sparks.Draw();
  EXPECT_TRUE(sparks.Sparks().empty()) << "the brightest lasts " << lasts(brightest);
  EXPECT_GT(lasts(dimmest), 400);
  EXPECT_LT(lasts(brightest), 580);
}

}  // namespace
}  // namespace driftglass

// The creature on a real OpenGL context: its body is closed from every side, and its sparks
// glow orange over whatever is behind them. (Its colours and flight show in the reference frame.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/fake_sound_device.h"
#include "creature/flying_creature.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "gl_test.h"
#include "linux/png_snapshot.h"

namespace driftglass {
namespace {

using GlCreatureTest = gltest::GlTest;

TEST_F(GlCreatureTest, NoBackgroundShowsThroughTheBodyFromAnySide) {
  SeedRandom(3);
  FakeSoundDevice device;
  SoundManager sounds(device);
  FlyingCreatureClass creature(sounds);
  ASSERT_TRUE(creature.IsValid()) << Log();
  // Straight, its middle at the origin, heading +x. Drawn whole, it leaves the state it found.
  creature.GetRibbon().Reset(Vector3(0.5, 0, 0), Vector3(0, 1, 0), Vector3(1, 0, 0));
  creature.Draw();
  ExpectTheSceneState("the creature");
  const int width = context_.Width(), height = context_.Height();
  const char* folder = std::getenv("DRIFTGLASS_PICTURE_DIR");  // pictures to look at, if asked
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPerspective(20.0, static_cast<double>(width) / height, 0.1, 20.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  // From the 26 directions of a cube's faces, edges and corners.
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dz = -1; dz <= 1; ++dz) {
        if (dx == 0 && dy == 0 && dz == 0) continue;
        const Vector3 eye = Vector3(dx, dy, dz) * (3.2 / Length(Vector3(dx, dy, dz)));
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, 0, 0, 0, 0, dx == 0 && dz == 0 ? 0 : 1,
                  dx == 0 && dz == 0 ? 1 : 0);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        creature.DrawBody();
        const std::vector<uint8_t> picture = context_.ReadPixels();
        const std::string view =
            std::to_string(dx) + "_" + std::to_string(dy) + "_" + std::to_string(dz);
        if (folder != nullptr) {
          WritePng(std::string(folder) + "/creature_" + view + ".png", width, height, picture);
        }
        // The background, filled from the picture's border: every background pixel is
        // reached, so none is seen through a hole or a gap.
        auto background = [&](int x, int y) {
          const uint8_t* p = &picture[(static_cast<size_t>(y) * width + x) * 4];
          return p[0] == 255 && p[1] == 0 && p[2] == 255;
        };
        std::vector<char> reached(static_cast<size_t>(width) * height, 0);
        std::vector<std::pair<int, int>> todo;
        for (int x = 0; x < width; ++x) todo.insert(todo.end(), {{x, 0}, {x, height - 1}});
        for (int y = 0; y < height; ++y) todo.insert(todo.end(), {{0, y}, {width - 1, y}});
        int creaturePixels = 0, enclosed = 0;
        while (!todo.empty()) {
          const auto [x, y] = todo.back();
          todo.pop_back();
          if (x < 0 || y < 0 || x >= width || y >= height) continue;
          char& seen = reached[static_cast<size_t>(y) * width + x];
          if (seen || !background(x, y)) continue;
          seen = 1;
          todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
        for (int y = 0; y < height; ++y) {
          for (int x = 0; x < width; ++x) {
            if (!background(x, y))
              ++creaturePixels;
            else if (!reached[static_cast<size_t>(y) * width + x])
              ++enclosed;
          }
        }
        EXPECT_GT(creaturePixels, 2000) << view;
        EXPECT_EQ(enclosed, 0) << "background seen through the body from " << view;
      }
    }
  }
  glClearColor(0, 0, 0, 0);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
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

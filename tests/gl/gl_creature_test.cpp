// The creature on a real OpenGL context: its body is closed from every side, and it is left out
// only where the camera could not show it. (Its colours, its flight and its sparks show in the
// reference frames.)
#include <gtest/gtest.h>

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
        const std::vector<uint8_t> picture = DrawnOverMagenta([&] { creature.DrawBody(); });
        const std::string view =
            std::to_string(dx) + "_" + std::to_string(dy) + "_" + std::to_string(dz);
        if (folder != nullptr) {
          WritePng(std::string(folder) + "/creature_" + view + ".png", width, height, picture);
        }
        // The background, filled from the picture's border: every background pixel is
        // reached, so none is seen through a hole or a gap.
        auto background = [&](int x, int y) {
          return Magenta(&picture[(static_cast<size_t>(y) * width + x) * 4]);
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
        for (size_t i = 0; i < reached.size(); ++i) {
          if (!Magenta(&picture[i * 4]))
            ++creaturePixels;
          else if (!reached[i])
            ++enclosed;
        }
        EXPECT_GT(creaturePixels, 2000) << view;
        EXPECT_EQ(enclosed, 0) << "background seen through the body from " << view;
      }
    }
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

TEST_F(GlCreatureTest, ItIsLeftOutWhereNoWingTipCouldShowAndDrawnOnItsSecondFrameAllTheSame) {
  FakeSoundDevice device;
  SoundManager sounds(device);
  FlyingCreatureClass creature(sounds);
  GLuint query = 0, primitives = 0;
  glGenQueries(1, &query);
  // Whether Draw draws anything in a view of x `away` - 1 to `away` + 1, y -1 to 1 and z
  // `beyond` to 2, the whole view in the model-view matrix.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  const auto drawn = [&](double beyond, double away) {
    glLoadIdentity();
    glOrtho(away - 1, away + 1, -1, 1, -2, -beyond);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    creature.Draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
    return primitives > 0;
  };
  // Straight along x, its wings spread along z a millisecond into their beat: from z 0.3 on
  // only a wing tip shows (some 50 pixels), and from 0.6 on nothing.
  creature.GetRibbon().Reset(Vector3(0.5, 0, 0), Vector3(0, 1, 0), Vector3(1, 0, 0));
  creature.Update(1);
  EXPECT_TRUE(drawn(0.3, 0));
  EXPECT_FALSE(drawn(0.6, 0));
  // Far out of sight it is drawn on its second frame alone, which readies its shaders before
  // its entrance.
  std::string frames;
  for (int frame = 2; frame <= 4; ++frame) {
    creature.Update(16);
    frames += drawn(0.3, 1000) ? 'd' : '-';
  }
  EXPECT_EQ(frames, "d--");
  glDeleteQueries(1, &query);
}

}  // namespace
}  // namespace driftglass

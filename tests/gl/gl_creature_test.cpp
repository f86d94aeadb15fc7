// The creature on a real OpenGL context: its body is closed from every side, and it is left out
// only where the camera could not show it. (Its colours, its flight and its sparks show in the
// reference frames.)
#include <gtest/gtest.h>

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

// The primitives that `draw` sends down the pipeline, shown or clipped away.
template <typename Draw>
GLuint PrimitivesSent(const Draw& draw) {
  GLuint query = 0, count = 0;
  glGenQueries(1, &query);
  glBeginQuery(GL_PRIMITIVES_GENERATED, query);
  draw();
  glEndQuery(GL_PRIMITIVES_GENERATED);
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
  glDeleteQueries(1, &query);
  return count;
}

TEST_F(GlCreatureTest, WhatTheCameraCannotShowIsLeftOutButForTheSecondFrame) {
  FakeSoundDevice device;
  SoundManager sounds(device);
  FlyingCreatureClass creature(sounds);
  ASSERT_TRUE(creature.IsValid()) << Log();
  // Straight and heading +x, `y` above the middle of the view, rolled by `roll` radians.
  const auto place = [&](double y, double roll = 0) {
    creature.GetRibbon().Reset(Vector3(0.5, y, 0), Vector3(0, std::cos(roll), std::sin(roll)),
                               Vector3(1, 0, 0));
  };
  const auto frame = [&] {
    creature.Update(0);
    place(3.0);  // far above the view, as it comes in
    return PrimitivesSent([&] { creature.Draw(); });
  };
  EXPECT_EQ(frame(), 0u);
  EXPECT_GT(frame(), 0u) << "the second frame readies it";
  EXPECT_EQ(frame(), 0u);
  // Coming down into the view: wherever it is left out, its body and its wings, at any
  // angle of their beat, would have shown nothing.
  const auto showsNothing = [&](const std::function<void()>& draw) {
    const std::vector<uint8_t> picture = DrawnOverMagenta(draw);
    for (size_t p = 0; p < picture.size(); p += 4) {
      if (!Magenta(&picture[p])) return false;
    }
    return true;
  };
  int leftOut = 0;
  for (int roll = 0; roll < 4; ++roll)
    for (double y = 1.5; y > 0.5; y -= 0.02) {
      SCOPED_TRACE(std::to_string(y) + " rolled " + std::to_string(roll));
      place(y, roll * 0.785);
      if (PrimitivesSent([&] { creature.Draw(); }) > 0) continue;
      ++leftOut;
      ASSERT_TRUE(showsNothing([&] { creature.DrawBody(); })) << "the body";
      for (int side = 0; side < 2; ++side) {
        const auto wingPlace = FlyingCreatureClass::PlaceWing(creature.GetRibbon(), side);
        Wing wing;
        wing.SetFrame(wingPlace.root, wingPlace.bodyAxis, wingPlace.spanAxis);
        for (int beat = 0; beat < 4; ++beat) {
          wing.Update(2);
          wing.Shed();
          ASSERT_TRUE(showsNothing([&] { wing.Draw(); })) << "wing " << side << ", beat " << beat;
        }
      }
    }
  EXPECT_GT(leftOut, 20);
  EXPECT_LT(leftOut, 180);  // and drawn once any of it can show
}

}  // namespace
}  // namespace driftglass

// Once the scene runs, its frames allocate nothing: what a frame needs was made at start-up
// or by the frames before. And once it is uninstalled, every OpenGL object it made is gone.
#include <gtest/gtest.h>

#include <vector>

#include "common/counting_allocator.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "gl_test.h"
#include "platform/silent_sound_device.h"
#include "scene/saver_scene.h"
#include "sound/sound_manager.h"

namespace driftglass {
namespace {

class GlFrameAllocationTest : public gltest::GlTest {};

// The textures, buffers, framebuffers, programs and shaders alive in the context.
int LiveGlNames() {
  int count = 0;
  for (GLuint name = 1; name < 4096; ++name) {
    count += glIsTexture(name) + glIsBuffer(name) + glIsFramebuffer(name) + glIsProgram(name) +
             glIsShader(name);
  }
  return count;
}

TEST_F(GlFrameAllocationTest, TheSceneDrawsWithoutAllocatingAndGivesBackEveryGlObjectItMade) {
  EXPECT_EQ(LiveGlNames(), 0);
  SeedRandom(7);
  SilentSoundDevice device;  // takes every call and allocates nothing for it
  SoundManager sounds(device);
  ASSERT_TRUE(sounds.Audible());
  SaverScene scene;
  ASSERT_EQ(scene.SceneInitialization(sounds), 0) << Log();
  scene.SceneReshape(context_.Width(), context_.Height());
  FrameTime time;
  time.stepMs = 50;
  // Past the banner and the creature's entrance: from then on every frame is the same work.
  for (int frame = 0; frame < 500; ++frame) scene.SceneFrame(time);
  testing_support::StartCounting();
  for (int frame = 0; frame < 200; ++frame) scene.SceneFrame(time);
  EXPECT_EQ(testing_support::StopCounting().calls, 0);
  scene.SceneUninstall();
  EXPECT_EQ(LiveGlNames(), 0);
}

}  // namespace
}  // namespace driftglass

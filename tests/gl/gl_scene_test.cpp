// The whole scene on a real context. Once it runs, its frames allocate nothing: what a frame
// needs was made at start-up or by the frames before. Once it is uninstalled, every OpenGL
// object it made is gone, and so it is after a start that a damaged resource ends.
#include <gtest/gtest.h>
#include <strings.h>

#include <map>
#include <string>

#include "common/counting_allocator.h"
#include "common/scoped_platform.h"
#include "foundation/event_log.h"
#include "foundation/gl.h"
#include "foundation/random_source.h"
#include "gl_test.h"
#include "platform/services.h"
#include "platform/silent_sound_device.h"
#include "scene/saver_scene.h"
#include "sound/sound_manager.h"
// clang-format off
#include <GL/glxew.h>  // last: Xlib's macros would break the headers above
// clang-format on

namespace driftglass {
namespace {

class GlSceneTest : public gltest::GlTest {};

ResourceBytes (*FindOwn)(const char*, int) = nullptr;

TEST_F(GlSceneTest, TheSceneDrawsWithoutAllocatingAndGivesBackEveryGlObjectItMade) {
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
  EXPECT_EQ(testing_support::StopCounting(), 0);
  scene.SceneUninstall();
  EXPECT_EQ(LiveGlNames(), 0);
}

// The resource that `FindDamaged` hands out in place of the program's own.
struct {
  const char* type = "";
  int id = 0;
  std::string bytes;
} damaged;

ResourceBytes FindDamaged(const char* type, int id) {
  if (id != damaged.id || strcasecmp(type, damaged.type) != 0) return FindOwn(type, id);
  if (damaged.bytes.empty()) return {};
  return {reinterpret_cast<const unsigned char*>(damaged.bytes.data()), damaged.bytes.size()};
}

TEST_F(GlSceneTest, EachDamagedPictureOrShaderEndsTheStartWithItsReasonAndLeavesNothing) {
  const PlatformServices own = Platform();
  FindOwn = own.findResource;
  PlatformServices damaging = own;
  damaging.findResource = FindDamaged;
  const ScopedPlatform scoped(damaging);
  const struct {
    const char* type;
    std::string bytes;          // written over the resource's start
    std::string before, after;  // the log's line, on either side of the resource's id
    size_t at = 0;              // where the bytes go, if not at the start; npos: it is gone
  } kinds[] = {
      {"BITMAP", std::string(32, '\0'), "(!)Error : Picture ", " (BITMAP) cannot be decoded"},
      // Another height than its texture's: its pixels are never read past their end.
      {"BITMAP", std::string("\x04\0", 2), "(!)Error : Picture ", " (BITMAP) is 512x4, not 512x128",
       22},
      {"S3TC", std::string(32, '\0'), "(!)Error : Picture ", " (S3TC) is not a compressed picture"},
      // A colour picture made a mask (masks stay); a first part 2 past a multiple of 4, or 0 wide.
      {"S3TC", "\x02", "(!)Error : Picture ", " (S3TC) is a mask", 4},
      {"S3TC", "\x02", "(!)Error : Picture ", " (S3TC) has a part of ", 8},
      {"S3TC", std::string(8, '\0'), "(!)Error : Picture ", " (S3TC) has a part with no place", 16},
      {"SHADERS", "#error damaged\n", "(!)Error : Compiling shader ", " failed: "},
      {"SHADERS", "", "(!)Error : Shader source ", " is missing", std::string::npos}};
  // Each part that holds the resource says so in turn: the stalk's shader, the sea, the banner.
  const std::map<int, std::string> climbs = {
      {110,
       "(!)Error : Can not create an OpenGL application for Stalk\n(!)Error : FlowersHolder "
       "initialization is failed"},
      {120, "(!)Error : ManagerDecor initialization is failed"},
      {125, "(!)Error : WelcomingMessage initialization is failed"}};
  int tried = 0;
  for (const auto& kind : kinds) {
    // Every id the program may use; this test program's own shaders start at 990.
    for (int id = 1; id < 990; ++id) {
      const ResourceBytes bytes = own.findResource(kind.type, id);
      if (!bytes) continue;
      SCOPED_TRACE(std::string(kind.type) + " " + std::to_string(id));
      const std::string was(reinterpret_cast<const char*>(bytes.data), bytes.size);
      damaged = {kind.type, id, kind.at < was.size() ? was : ""};
      if (kind.at < was.size()) damaged.bytes.replace(kind.at, kind.bytes.size(), kind.bytes);
      if (!damaged.bytes.empty() && damaged.bytes == was) continue;
      ++tried;
      TheEventLog().Open(logPath_);
      {
        SilentSoundDevice device;
        SoundManager sounds(device);
        SaverScene scene;
        EXPECT_NE(scene.SceneInitialization(sounds), 0);
        scene.SceneUninstall();
      }
      EXPECT_EQ(LiveGlNames(), 0);
      TheEventLog().Close();
      const std::string log = "\n" + Log(),
                        named = "\n" + kind.before + std::to_string(id) + kind.after;
      EXPECT_NE(log.find(named), std::string::npos) << log;
      if (climbs.count(id)) {
        EXPECT_NE(log.find("\n" + climbs.at(id), log.find(named)), std::string::npos) << log;
      }
    }
  }
  EXPECT_EQ(tried, 39);  // each damage to every picture and shader: a new one counts here too
}

TEST_F(GlSceneTest, WithoutASwapControlExtensionTheSurfaceNamesNone) {
  ASSERT_NE(context_.Surface().SwapControlExtension(), nullptr);  // Mesa has both
  const GLboolean ext = GLXEW_EXT_swap_control, mesa = GLXEW_MESA_swap_control;
  __GLXEW_EXT_swap_control = __GLXEW_MESA_swap_control = GL_FALSE;  // as a driver with neither
  EXPECT_EQ(context_.Surface().SwapControlExtension(), nullptr);
  __GLXEW_EXT_swap_control = ext, __GLXEW_MESA_swap_control = mesa;
}

}  // namespace
}  // namespace driftglass

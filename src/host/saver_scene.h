// The saver's scene: the objects the render thread creates, draws each frame and releases.
// Render thread only.
#pragma once

#include "host/render_thread.h"

namespace driftglass {

class SaverScene : public Scene {
 public:
  int SceneInitialization() override;
  void SceneFrame(const FrameTime& time) override;
  void SceneUninstall() override;
};

}  // namespace driftglass

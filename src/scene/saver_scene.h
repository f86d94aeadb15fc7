// The saver's scene: the objects the render thread creates, draws each frame and releases.
// Render thread only.
#pragma once

#include <memory>

#include "scene/scene.h"

namespace driftglass {

class FlowersHolder;
class ManagerDecor;
class SceneSoundClass;
class WelcomingMessage;
class WingsSoundClass;

class SaverScene : public Scene {
 public:
  SaverScene();
  ~SaverScene() override;
  int SceneInitialization(SoundManager& sounds) override;
  void SceneFrame(const FrameTime& time) override;
  void SceneUninstall() override;

 private:
  std::unique_ptr<SceneSoundClass> sceneSound_;
  // Made where the creature will make it, so that its samples are checked at start; the
  // creature will own and play it.
  std::unique_ptr<WingsSoundClass> wingsSound_;
  std::unique_ptr<FlowersHolder> flowers_;
  std::unique_ptr<ManagerDecor> decor_;
  std::unique_ptr<WelcomingMessage> welcome_;
};

}  // namespace driftglass

// The saver's scene: the objects the render thread creates, draws each frame and releases.
// Render thread only.
#pragma once

#include <memory>
#include <vector>

#include "foundation/view_shape.h"
#include "scene/scene.h"

namespace driftglass {

class FlowersHolder;
class FlyingCreatureClass;
class ManagerDecor;
class SceneSoundClass;
class WelcomingMessage;

class SaverScene : public Scene {
 public:
  SaverScene();
  ~SaverScene() override;
  Status SceneInitialization(SoundManager& sounds) override;
  // The views to draw: rectangles of the window (from its lower left corner), one a monitor,
  // each with its own shape; none means the window whole. Set before the render thread runs.
  void UseViewAreas(std::vector<PixelRect> areas);
  void SceneReshape(int width, int height) override;
  void SceneFrame(const FrameTime& time) override;
  void SceneUninstall() override;

 private:
  std::unique_ptr<SceneSoundClass> sceneSound_;
  std::unique_ptr<FlyingCreatureClass> creature_;
  std::unique_ptr<FlowersHolder> flowers_;
  std::unique_ptr<ManagerDecor> decor_;
  std::unique_ptr<WelcomingMessage> welcome_;
  std::vector<PixelRect> areas_;
  std::vector<ViewShape> views_;
  bool covered_ = true;  // the views fill the window
};

}  // namespace driftglass

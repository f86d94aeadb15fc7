// Scene start-up, frame and release order. The objects are created in this order, each
// tested before the next: scene sound, flying creature, flowers, decor, welcome banner; each
// frame paints the decor first and the banner last.
#include "scene/saver_scene.h"

#include <algorithm>
#include <new>

#include "creature/flying_creature.h"
#include "decor/manager_decor.h"
#include "flowers/flowers_holder.h"
#include "foundation/event_log.h"
#include "foundation/gl.h"
#include "foundation/view_shape.h"
#include "sound/scene_sound.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

// Makes a scene object; an object that cannot even be allocated counts as a failed one.
template <typename Object, typename... Arguments>
std::unique_ptr<Object> Create(Arguments&... arguments) {
  try {
    return std::make_unique<Object>(arguments...);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

Status Fail(const char* line) {
  TheEventLog().WriteError(kError, line, "Error of initialization");
  return kFailed;
}

}  // namespace

SaverScene::SaverScene() = default;
SaverScene::~SaverScene() = default;

Status SaverScene::SceneInitialization(SoundManager& sounds) {
  // The scene sound and the creature log their own failures.
  sceneSound_ = Create<SceneSoundClass>(sounds);
  if (!sceneSound_ || !sceneSound_->IsValid()) return kFailed;
  creature_ = Create<FlyingCreatureClass>(sounds);
  if (!creature_ || !creature_->IsValid()) return kFailed;
  flowers_ = Create<FlowersHolder>();
  if (!flowers_ || !flowers_->IsValid()) return Fail("FlowersHolder initialization is failed");
  decor_ = Create<ManagerDecor>();
  if (!decor_ || !decor_->IsValid()) return Fail("ManagerDecor initialization is failed");
  welcome_ = Create<WelcomingMessage>();
  if (!welcome_ || !welcome_->IsValid()) return Fail("WelcomingMessage initialization is failed");
  return kSucceeded;
}

void SaverScene::UseViewAreas(std::vector<PixelRect> areas) {
  areas_ = std::move(areas);
}

void SaverScene::SceneReshape(int width, int height) {
  const PixelRect window{0, 0, width, height};
  views_.clear();
  long long shown = 0;
  for (const PixelRect& area : areas_.empty() ? std::vector<PixelRect>{window} : areas_) {
    // Only what lies in the window.
    const int x0 = std::max(area.x, 0), y0 = std::max(area.y, 0);
    const int x1 = std::min(area.x + area.width, width),
              y1 = std::min(area.y + area.height, height);
    if (x1 <= x0 || y1 <= y0) continue;
    views_.push_back(ShapeViewFor(PixelRect{x0, y0, x1 - x0, y1 - y0}));
    const PixelRect& drawn = views_.back().viewport;
    shown += static_cast<long long>(drawn.width) * drawn.height;
  }
  covered_ = shown == static_cast<long long>(width) * height;
  if (decor_) decor_->Reshape(views_);
}

void SaverScene::SceneFrame(const FrameTime& time) {
  // Every object takes the step in milliseconds as a double, and moves once a frame however
  // many views it is drawn in.
  const double stepMs = static_cast<double>(time.stepMs);
  sceneSound_->Update(stepMs);
  decor_->Update(stepMs);
  creature_->Update(stepMs);
  flowers_->Update(stepMs);
  welcome_->Update(stepMs);
  // The decor paints every pixel of a view, opaque, so the colour buffer is cleared only
  // where no view is (black bars around a shape the decor does not cover, a monitor left
  // dark): elsewhere only depth is. The stencil is unused, but the depth buffer shares its
  // words: clearing both lets the driver fill whole words instead of masking every one.
  glDisable(GL_SCISSOR_TEST);
  glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | (covered_ ? 0 : GL_COLOR_BUFFER_BIT));
  for (size_t i = 0; i < views_.size(); ++i) {
    ApplyView(views_[i]);
    decor_->Draw(i);
    creature_->Draw();
    flowers_->Draw();
    welcome_->Draw(views_[i]);
  }
}

void SaverScene::SceneUninstall() {
  decor_.reset();
  flowers_.reset();
  creature_.reset();
  sceneSound_.reset();
  welcome_.reset();
}

}  // namespace driftglass

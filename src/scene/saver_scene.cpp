// Scene start-up, frame and release order. The objects are created in this order, each
// tested before the next: scene sound, flying creature, flowers, decor, welcome banner; each
// frame paints the decor first and the banner last.
#include "scene/saver_scene.h"

#include <new>

#include "decor/manager_decor.h"
#include "flowers/flowers_holder.h"
#include "foundation/gl.h"
#include "foundation/event_log.h"
#include "welcome/welcoming_message.h"

namespace driftglass {
namespace {

// Makes a scene object; an object that cannot even be allocated counts as a failed one.
template <typename Object>
std::unique_ptr<Object> Create() {
  try {
    return std::unique_ptr<Object>(new Object());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

int Fail(const char* line) {
  TheEventLog().WriteError(kError, line, "Error of initialization");
  return 1;
}

}  // namespace

SaverScene::SaverScene() = default;
SaverScene::~SaverScene() = default;

int SaverScene::SceneInitialization() {
  flowers_ = Create<FlowersHolder>();
  if (!flowers_ || !flowers_->IsValid()) return Fail("FlowersHolder initialization is failed");
  decor_ = Create<ManagerDecor>();
  if (!decor_ || !decor_->IsValid()) return Fail("ManagerDecor initialization is failed");
  welcome_ = Create<WelcomingMessage>();
  if (!welcome_ || !welcome_->IsValid()) return Fail("WelcomingMessage initialization is failed");
  return 0;
}

void SaverScene::SceneFrame(const FrameTime& time) {
  // Every object takes the step in milliseconds as a double.
  const double stepMs = static_cast<double>(time.stepMs);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  decor_->Update(stepMs);
  decor_->Draw();
  flowers_->Update(stepMs);
  flowers_->Draw();
  welcome_->Update(stepMs);
  welcome_->Draw();
}

void SaverScene::SceneUninstall() {
  if (decor_) {
    decor_->Release();
    decor_.reset();
  }
  flowers_.reset();
  welcome_.reset();
}

}  // namespace driftglass

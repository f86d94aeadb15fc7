// Building, animating and drawing the flowers.
#include "flowers/flowers_holder.h"

#include "foundation/event_log.h"

namespace driftglass {
namespace {

// Builds one program; false, with the holder's line in the log, when it is not usable.
template <typename Program>
bool Build(std::unique_ptr<Program>& program, const char* failure) {
  program = std::make_unique<Program>();
  if (program->IsValid()) return true;
  TheEventLog().Write(kError, failure);
  return false;
}

}  // namespace

FlowersHolder::FlowersHolder() {
  if (!Build(stalk_, "Can not create an OpenGL application for Stalk") ||
      !Build(bud_, "Can not create an OpenGL application for Bud") ||
      !Build(head_, "Can not create an OpenGL application for Flower")) {
    return;
  }
  flowers_.push_back(std::make_unique<FlowerInstance>(FlowerInstance::First()));
  flowers_.push_back(std::make_unique<FlowerInstance>(FlowerInstance::Second()));
  valid_ = true;
}

void FlowersHolder::Update(double frameMs) {
  for (auto& flower : flowers_) flower->Update(frameMs);
}

void FlowersHolder::Draw() {
  // Bud, stalk, then the translucent head over them; each sets the blending it draws with.
  for (auto& flower : flowers_) {
    bud_->Draw(flower->ribbon, flower->length, flower->budSize);
    stalk_->Draw(flower->ribbon, flower->length, flower->holesRadius, flower->lightPosition);
    head_->Draw(flower->ribbon, flower->length, flower->headRadius, flower->phase);
  }
}

}  // namespace driftglass

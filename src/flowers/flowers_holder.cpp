// Building, animating and drawing the flowers.
#include "flowers/flowers_holder.h"

#include "host/event_log.h"

namespace driftglass {
namespace {

bool Failed(int result, const char* line) {
  if (result == 0) return false;
  TheEventLog().Write(kError, line);
  return true;
}

}  // namespace

FlowersHolder::FlowersHolder() {
  if (Failed(stalk_.Init(), "Can not create an OpenGL application for Stalk") ||
      Failed(stalk_.CreateModel(), "Can not create a model for Stalk") ||
      Failed(bud_.Init(), "Can not create an OpenGL application for Bud") ||
      Failed(bud_.CreateModel(), "Can not create a model for Bud") ||
      Failed(head_.Init(), "Can not create an OpenGL application for Flower")) {
    return;
  }
  flowers_.push_back(std::make_unique<FlowerInstance>(FlowerInstance::First()));
  flowers_.push_back(std::make_unique<FlowerInstance>(FlowerInstance::Second()));
  valid_ = true;
}

void FlowersHolder::Update(int milliseconds) {
  for (auto& flower : flowers_) flower->Update(static_cast<double>(milliseconds));
}

void FlowersHolder::Draw() {
  // Stalk after bud: it leaves blending on for the head, which turns it off again.
  for (auto& flower : flowers_) {
    bud_.Draw(flower->ribbon, flower->length, flower->budSize);
    stalk_.Draw(flower->ribbon, flower->length, flower->holesRadius, flower->lightPosition);
    head_.Draw(flower->ribbon, flower->length, flower->headRadius, flower->phase);
  }
}

}  // namespace driftglass

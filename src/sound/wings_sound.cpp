// The wing buzz's trigger.
#include "sound/wings_sound.h"

#include "foundation/event_log.h"

namespace driftglass {

WingsSoundClass::WingsSoundClass(SoundManager& sounds)
    : sound_(sounds.CreateSoundFromResource(kResource)) {
  if (sound_ == nullptr) {
    TheEventLog().WriteError(kError, "Can not create WingsSoundClass object",
                             "Error of initialization");
    return;
  }
  sound_->SetVolume(kVolume);
  sound_->SetPosition(Vector3(100, 100, 100));
}

void WingsSoundClass::Update(const Vector3& headPosition, double frameMs) {
  if (sound_ == nullptr) return;
  sound_->SetPosition(headPosition);
  // The rise is measured per frame, so the trigger follows the frame rate.
  if (headPosition.y - lastHeight_ > 0.015 && msSincePlay_ > 3000.0) {
    msSincePlay_ = 0.0;
    sound_->PlayOnce();
  }
  lastHeight_ = headPosition.y;
  msSincePlay_ += frameMs;
}

}  // namespace driftglass

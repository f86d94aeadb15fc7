// The ambient loop's swell and ebb.
#include "sound/scene_sound.h"

#include "foundation/event_log.h"
#include "foundation/random_source.h"

namespace driftglass {

SceneSoundClass::SceneSoundClass(SoundManager& sounds)
    : sound_(sounds.CreateSoundFromResource(kResource)) {
  if (sound_ == nullptr) {
    TheEventLog().WriteError(kError, "Can not create SceneSoundClass object",
                             "Error of initialization");
    return;
  }
  Update(0.0);
  sound_->PlayLooping();
}

void SceneSoundClass::Update(double) {
  if (sound_ == nullptr) return;
  sound_->SetVolume(volume_);
  if (swellTarget_ != 0) {
    // Swelling: 0.2 dB a frame until past the target, keeping what it overshot by.
    volume_ += 20;
    if (volume_ > swellTarget_) swellTarget_ = 0;
  } else if (volume_ > kQuiet) {
    // Ebbing: 0.05 dB a frame, down to the quiet level and no further.
    volume_ = volume_ - 5 < kQuiet ? kQuiet : volume_ - 5;
  }
  // About one frame in a hundred starts a swell towards -40 ... -24 dB.
  if (RandomUnit() > 0.99) swellTarget_ = static_cast<int32_t>(kQuiet + 1600 * RandomUnit());
}

}  // namespace driftglass

// The scene's ambient sound: a one-second loop of sea and wind, kept 40 dB down, now and then
// swelling by a random amount and ebbing back, so that the loop never sounds mechanical.
// Render thread only.
#pragma once

#include <cstdint>

#include "sound/sound_manager.h"

namespace driftglass {

class SceneSoundClass {
 public:
  static constexpr int kResource = 116;
  static constexpr int32_t kQuiet = -4000;

  // Makes the loop from its samples and starts it; IsValid tells whether it could.
  explicit SceneSoundClass(SoundManager& sounds);
  bool IsValid() const { return sound_ != nullptr; }
  // One step of the drift; every frame is one step, whatever its length. The volume set is
  // the one the step before computed.
  void Update(double frameMs);

  int32_t Volume() const { return volume_; }
  int32_t SwellTarget() const { return swellTarget_; }  // 0: no swell under way

 private:
  SoundObject* sound_;
  int32_t volume_ = kQuiet;
  int32_t swellTarget_ = 0;
};

}  // namespace driftglass

// The sound of the creature's wings: a short buzz, 6 dB down, that follows the creature's head
// and starts when the head climbs, at most once in three seconds. Render thread only.
#pragma once

#include "sound/sound_manager.h"

namespace driftglass {

class WingsSoundClass {
 public:
  static constexpr int kResource = 117;
  static constexpr int32_t kVolume = -600;

  // Makes the buzz from its samples, far away until the head is known; IsValid tells whether
  // the sound could be made.
  explicit WingsSoundClass(SoundManager& sounds);
  bool IsValid() const { return sound_ != nullptr; }
  // Moves the sound to the head and starts it when the head rose more than 0.015 since the
  // frame before and more than 3 seconds have gone since it last started.
  void Update(const Vector3& headPosition, double frameMs);

 private:
  SoundObject* sound_;
  double msSincePlay_ = 0.0;
  double lastHeight_ = 0.0;
};

}  // namespace driftglass

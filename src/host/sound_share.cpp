// Taking, keeping and giving up the display's sound.
#include "host/sound_share.h"

namespace driftglass {

bool SoundShare::Decide() {
  if (givesWay_ && claim_.FullScreenRuns()) {
    if (holds_) claim_.Give();
    holds_ = false;
    return false;
  }
  if (!holds_) holds_ = claim_.Take();
  return holds_;
}

bool SoundShare::LookAgain(uint32_t now, bool& plays) {
  if (looked_ && now - lastLook_ < kLookEveryMs) return false;
  looked_ = true;
  lastLook_ = now;
  plays = Decide();
  return true;
}

void SoundShare::Leave() {
  if (holds_) claim_.Give();
  holds_ = false;
}

}  // namespace driftglass

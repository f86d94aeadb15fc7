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

std::optional<bool> SoundShare::LookAgain(uint32_t now) {
  if (looked_ && now - lastLook_ < kLookEveryMs) return std::nullopt;
  looked_ = true;
  lastLook_ = now;
  return Decide();
}

void SoundShare::Leave() {
  if (holds_) claim_.Give();
  holds_ = false;
}

}  // namespace driftglass

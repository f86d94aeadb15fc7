// Whether this instance plays the sound, decided again every moment: one instance on a display
// plays it, the first to claim it; the others run silently and take it when it comes free. A
// preview (or a saver in a window of its own) gives it up while a full-screen saver runs.
// Render thread only.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/sound_claim.h"

namespace driftglass {

class SoundShare {
 public:
  // How often the claim is looked at again, in milliseconds.
  static constexpr uint32_t kLookEveryMs = 250;

  SoundShare(SoundClaim& claim, bool givesWayToFullScreen)
      : claim_(claim), givesWay_(givesWayToFullScreen) {}
  // True when this instance is to play the sound from now on: it takes the claim when free,
  // and gives it up when it must give way.
  bool Decide();
  // Decides again when `kLookEveryMs` have gone by since the last look, at tick `now`
  // (unsigned milliseconds that wrap); nothing, with nothing looked at, before.
  std::optional<bool> LookAgain(uint32_t now);
  // Gives the claim up for good (the instance ends).
  void Leave();

 private:
  SoundClaim& claim_;
  const bool givesWay_;
  bool holds_ = false;
  bool looked_ = false;
  uint32_t lastLook_ = 0;
};

}  // namespace driftglass

// The display's sound claim on Linux: advisory locks on files named after the X display, so
// that of the instances the daemon or xsecurelock runs (one a monitor) one plays the sound.
// Render thread, but for the constructor.
#pragma once

#include <string>

#include "platform/sound_claim.h"

namespace driftglass {

class LinuxSoundClaim : public SoundClaim {
 public:
  // The claim at `soundPath`; an instance that `blanksScreen` (full screen, under the daemon)
  // also holds `fullScreenPath` shared for as long as it lives, which tells previews it runs.
  LinuxSoundClaim(std::string soundPath, std::string fullScreenPath, bool blanksScreen);
  ~LinuxSoundClaim() override;
  LinuxSoundClaim(const LinuxSoundClaim&) = delete;
  LinuxSoundClaim& operator=(const LinuxSoundClaim&) = delete;

  bool Take() override;
  void Give() override;
  bool FullScreenRuns() override;

 private:
  std::string soundPath_, fullScreenPath_;
  int soundFd_ = -1;
  int fullScreenFd_ = -1;  // held shared by a full-screen instance
  bool held_ = false;
};

}  // namespace driftglass

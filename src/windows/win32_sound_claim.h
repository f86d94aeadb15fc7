// The session's sound claim on Windows: a named mutex that one instance at a time holds, and
// a second named object that every full-screen instance keeps open while it runs. Render
// thread, but for the constructor.
#pragma once

#include <windows.h>

#include "platform/sound_claim.h"

namespace driftglass {

class Win32SoundClaim : public SoundClaim {
 public:
  // `blanksScreen`: this instance is the full-screen saver, which a preview gives way to.
  explicit Win32SoundClaim(bool blanksScreen);
  ~Win32SoundClaim() override;
  Win32SoundClaim(const Win32SoundClaim&) = delete;
  Win32SoundClaim& operator=(const Win32SoundClaim&) = delete;

  bool Take() override;
  void Give() override;
  bool FullScreenRuns() override;

 private:
  HANDLE sound_ = nullptr;
  HANDLE fullScreen_ = nullptr;
  bool held_ = false;
};

}  // namespace driftglass

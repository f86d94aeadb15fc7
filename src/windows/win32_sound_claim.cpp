// Named objects of the session that say which instance plays the sound.
#include "windows/win32_sound_claim.h"

#include <initializer_list>

namespace driftglass {
namespace {

constexpr wchar_t kSoundName[] = L"Local\\Driftglass #1 sound";
constexpr wchar_t kFullScreenName[] = L"Local\\Driftglass #1 full screen";

}  // namespace

Win32SoundClaim::Win32SoundClaim(bool blanksScreen) {
  if (blanksScreen) fullScreen_ = CreateMutexW(nullptr, FALSE, kFullScreenName);
}

Win32SoundClaim::~Win32SoundClaim() {
  Give();
  for (HANDLE handle : {sound_, fullScreen_}) {
    if (handle != nullptr) CloseHandle(handle);
  }
}

bool Win32SoundClaim::Take() {
  if (held_) return true;
  if (sound_ == nullptr) sound_ = CreateMutexW(nullptr, FALSE, kSoundName);
  // Without the mutex to share, this instance plays as if alone. A mutex left by an instance
  // that ended without giving it back is taken all the same.
  if (sound_ == nullptr) return held_ = true;
  const DWORD waited = WaitForSingleObject(sound_, 0);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  return held_;
}

void Win32SoundClaim::Give() {
  if (held_ && sound_ != nullptr) ReleaseMutex(sound_);
  held_ = false;
}

bool Win32SoundClaim::FullScreenRuns() {
  HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, kFullScreenName);
  if (running == nullptr) return false;
  CloseHandle(running);
  return true;
}

}  // namespace driftglass

// The Windows 9x family's screen-saver password: PASSWORD.CPL's check, loaded when the user
// set "ScreenSaveUsePassword", and the system's "screen saver running" flag that keeps
// Ctrl+Alt+Del from the desktop while the check is there. Idle on the NT family, where the
// system asks for the password itself. Window thread only.
#pragma once

#include <windows.h>

namespace driftglass {

// The old family's "screen saver running" flag.
void SetSaverRunning(bool legacyPlatform, bool running);

class LegacyPassword {
 public:
  explicit LegacyPassword(bool legacyPlatform) : legacyPlatform_(legacyPlatform) {}
  ~LegacyPassword() { Unload(); }
  LegacyPassword(const LegacyPassword&) = delete;
  LegacyPassword& operator=(const LegacyPassword&) = delete;

  // Loads the check when the user asked for a password, and raises the running flag.
  void Load();
  // A password is set and its check loaded.
  bool IsSet() const { return verify_ != nullptr; }
  // Asks for the password over `window`: true when it was given (or none is set).
  bool Verify(HWND window) const { return verify_ == nullptr || verify_(window) != FALSE; }

 private:
  using VerifyProc = BOOL(WINAPI*)(HWND);
  void Unload();

  const bool legacyPlatform_;
  HMODULE library_ = nullptr;
  VerifyProc verify_ = nullptr;
};

}  // namespace driftglass

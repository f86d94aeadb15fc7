// PASSWORD.CPL's check and the running flag.
#include "windows/win32_password.h"

namespace driftglass {

void SetSaverRunning(bool legacyPlatform, bool running) {
  if (!legacyPlatform) return;
  BOOL previous = FALSE;
  SystemParametersInfoW(SPI_SCREENSAVERRUNNING, running, &previous, 0);
}

void LegacyPassword::Unload() {
  if (library_ == nullptr) return;
  FreeLibrary(library_);
  library_ = nullptr;
  if (verify_ != nullptr) {
    verify_ = nullptr;
    SetSaverRunning(legacyPlatform_, false);
  }
}

void LegacyPassword::Load() {
  if (!legacyPlatform_) return;
  Unload();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  DWORD usePassword = 0;
  DWORD size = sizeof usePassword;
  const bool wanted = RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&usePassword),
                                       &size) == ERROR_SUCCESS &&
                      usePassword != 0;
  RegCloseKey(key);
  if (!wanted) return;
  library_ = LoadLibraryW(L"PASSWORD.CPL");
  if (library_ == nullptr) return;
  verify_ = reinterpret_cast<VerifyProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library_, "VerifyScreenSavePwd")));
  if (verify_ != nullptr) {
    SetSaverRunning(legacyPlatform_, true);
  } else {
    Unload();
  }
}

}  // namespace driftglass

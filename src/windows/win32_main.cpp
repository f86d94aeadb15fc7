// The Windows program's entry: reads the command line, opens the log beside the program and
// the options in the registry, and runs the requested mode on the main (window) thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "foundation/event_log.h"
#include "host/command_line.h"
#include "host/stored_options.h"
#include "windows/win32_password.h"
#include "windows/win32_platform.h"
#include "windows/win32_registry_store.h"
#include "windows/win32_saver.h"
#include "windows/win32_settings_dialog.h"

namespace driftglass {
namespace {

using PwdChangePasswordProc = DWORD(WINAPI*)(LPCWSTR, HWND, DWORD, void*);

// Read by the fault filter, which has no other way in.
bool legacyPlatform = false;

LONG WINAPI OnFatalFault(EXCEPTION_POINTERS*) {
  SetSaverRunning(legacyPlatform, false);
  ExitProcess(static_cast<UINT>(-1));
}

void ChangePassword(HWND parent) {
  HMODULE library = LoadLibraryW(L"MPR.DLL");
  if (library == nullptr) return;
  auto change = reinterpret_cast<PwdChangePasswordProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "PwdChangePasswordW")));
  if (change != nullptr) change(L"SCRSAVE", parent, 0, nullptr);
  FreeLibrary(library);
}

HWND WindowFromNumber(uint32_t number) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}

// A window number given on the command line, or the foreground window when it names none.
HWND OwnerOrForeground(uint32_t number) {
  HWND owner = WindowFromNumber(number);
  return number != 0 && IsWindow(owner) ? owner : GetForegroundWindow();
}

int SaverMain(HINSTANCE instance, const std::string& arguments, SaverSettings& settings,
              OptionStore& store) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  legacyPlatform = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  SetUnhandledExceptionFilter(OnFatalFault);

  CommandLine command = SaverCommandLine(arguments);
  switch (command.mode) {
    case RunMode::FullScreen:
    case RunMode::Preview:
      // Windows savers draw as fast as the swap interval lets them.
      command.frameDelayUs = 0;
      return Win32Saver(instance, settings, legacyPlatform).Run(command);
    case RunMode::Settings:
      return RunSettingsDialog(settings, store,
                               reinterpret_cast<uintptr_t>(OwnerOrForeground(command.window)));
    case RunMode::ChangePassword:
      if (!legacyPlatform) return -1;
      ChangePassword(OwnerOrForeground(command.window));
      return 0;
    case RunMode::OwnWindow:  // never read from a Windows screen saver's arguments
    case RunMode::Root:
    case RunMode::Help:
    case RunMode::Version:
    case RunMode::Invalid:
      break;
  }
  return -1;
}

// The log sits beside the program: its path with the last three characters made "log".
std::wstring LogPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  if (path.size() >= 3) path.replace(path.size() - 3, 3, L"log");
  return path;
}

// Where the log goes when the program's own folder cannot be written (an installed saver in
// the system folder): %LOCALAPPDATA%\Driftglass\Driftglass.log, the folder made if need be.
std::wstring LocalLogPath() {
  wchar_t* folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder))) {
    path = std::wstring(folder) + L"\\Driftglass";
    CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\Driftglass.log";
  }
  CoTaskMemFree(folder);
  return path;
}

}  // namespace

// The process's work: the platform's services, the log, the options (loaded before anything
// else), the mode.
[[noreturn]] void SaverEntry() {
  UsePlatform(Win32Platform());
  TheEventLog().Open(std::filesystem::path(LogPath()));
  if (!TheEventLog().IsOpen()) {
    const std::wstring local = LocalLogPath();
    if (!local.empty()) TheEventLog().Open(std::filesystem::path(local));
  }
  RegistryOptionStore store;
  SaverSettings settings(store);
  ExitProcess(static_cast<UINT>(SaverMain(
      GetModuleHandleW(nullptr), ArgumentsAfterProgram(GetCommandLineW()), settings, store)));
}

}  // namespace driftglass

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  driftglass::SaverEntry();
}

// The Windows screen saver: entry and modes, the saver window and its three window-procedure
// layers, the settings dialog, and the password handling of the old Windows 9x family (idle
// on the NT family). Everything here runs on the window thread.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

#include "host/event_log.h"
#include "host/frame_rate_counter.h"
#include "host/render_settings.h"
#include "host/render_thread.h"
#include "host/saver_arguments.h"
#include "host/saver_input.h"
#include "host/saver_scene.h"
#include "host/settings_dialog_model.h"
#include "host/stored_options.h"
#include "host/tick_clock.h"
#include "host/wgl_surface.h"
#include "host/win32_registry_store.h"

namespace driftglass {
namespace {

constexpr wchar_t kClassName[] = L"WindowsScreenSaverClass";
constexpr wchar_t kFullScreenTitle[] = L"Screen Saver";
constexpr int kIconId = 102;
constexpr int kSettingsDialogId = 2003;

using VerifyPasswordProc = BOOL(WINAPI*)(HWND);
using ImmAssociateContextProc = HANDLE(WINAPI*)(HWND, HANDLE);
using PwdChangePasswordProc = DWORD(WINAPI*)(LPCWSTR, HWND, DWORD, void*);

// Host state, owned by the window thread.
HINSTANCE mainInstance = nullptr;
HWND saverWindow = nullptr;
bool previewMode = false;
bool checkingPassword = false;
bool legacyPlatform = false;
UINT autoPlayMessage = 0;
HMODULE passwordLibrary = nullptr;
VerifyPasswordProc verifyPassword = nullptr;
ImmAssociateContextProc immAssociateContext = nullptr;
HANDLE previousInputContext = nullptr;
SaverInputRules inputRules(false, {}, 255);
PasswordCloseGate passwordGate;

RegistryOptionStore& Store() {
  static RegistryOptionStore store;
  return store;
}

SaverSettings& Settings() {
  static SaverSettings settings(Store());
  return settings;
}

// The render thread's request to show the failure and close, sent like a message.
class SendMessageLink : public WindowThreadLink {
 public:
  void RequestFailureMessage() override { SendMessageW(saverWindow, WM_USER, 0, 0); }
};

SendMessageLink renderLink;
SaverScene scene;
SteadyTickClock tickClock;
WglSurface* surface = nullptr;
RenderThread* renderThread = nullptr;

ScreenPoint CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

uint8_t AcLineStatus() {
  SYSTEM_POWER_STATUS status{};
  return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

void Close(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
}

// --- The old Windows family's password handling -------------------------------------------

void SetSaverRunning(bool running) {
  if (!legacyPlatform) return;
  BOOL previous = FALSE;
  SystemParametersInfoW(SPI_SCREENSAVERRUNNING, running, &previous, 0);
}

void UnloadPasswordLibrary() {
  if (!legacyPlatform || passwordLibrary == nullptr) return;
  FreeLibrary(passwordLibrary);
  passwordLibrary = nullptr;
  if (verifyPassword != nullptr) {
    verifyPassword = nullptr;
    SetSaverRunning(false);
  }
}

void LoadPasswordLibrary() {
  if (!legacyPlatform) return;
  UnloadPasswordLibrary();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  DWORD usePassword = 0;
  DWORD size = sizeof usePassword;
  if (RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&usePassword), &size) == ERROR_SUCCESS &&
      usePassword != 0) {
    passwordLibrary = LoadLibraryW(L"PASSWORD.CPL");
    if (passwordLibrary != nullptr) {
      verifyPassword = reinterpret_cast<VerifyPasswordProc>(
          reinterpret_cast<void (*)()>(GetProcAddress(passwordLibrary, "VerifyScreenSavePwd")));
      if (verifyPassword != nullptr) {
        SetSaverRunning(true);
      } else {
        FreeLibrary(passwordLibrary);
        passwordLibrary = nullptr;
      }
    }
  }
  RegCloseKey(key);
}

// Decides whether the saver may close now, asking for the password when one is set.
bool VerifyPasswordOnClose(HWND window) {
  switch (passwordGate.Request(checkingPassword, inputRules.Closing(), verifyPassword != nullptr,
                               GetTickCount())) {
    case PasswordCloseGate::Decision::Refuse:
      return inputRules.Closing();
    case PasswordCloseGate::Decision::Allow:
      inputRules.SetClosing();
      return true;
    case PasswordCloseGate::Decision::Verify:
      break;
  }
  checkingPassword = true;
  MSG pending;
  PeekMessageW(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  PeekMessageW(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  const bool granted = SendMessageW(window, WM_APP, 0, 0) != 0;
  checkingPassword = false;
  if (granted) {
    inputRules.SetClosing();
  } else {
    SetCursor(nullptr);
  }
  passwordGate.Checked(GetTickCount());
  return granted;
}

void ChangePassword(HWND parent) {
  HMODULE library = LoadLibraryW(L"MPR.DLL");
  if (library == nullptr) return;
  auto change = reinterpret_cast<PwdChangePasswordProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "PwdChangePasswordW")));
  if (change != nullptr) change(L"SCRSAVE", parent, 0, nullptr);
  FreeLibrary(library);
}

// --- Window procedures --------------------------------------------------------------------

LRESULT FinalStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (autoPlayMessage != 0 && message == autoPlayMessage) {
    Close(window);
    return verifyPassword != nullptr ? 1 : 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The saver's input rules: which messages close it.
LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (previewMode || inputRules.Closing()) return FinalStep(window, message, wParam, lParam);
  switch (message) {
    case WM_CLOSE:
      if (legacyPlatform && !VerifyPasswordOnClose(window)) {
        inputRules.SetMouseReference(CursorPosition());
        return 0;
      }
      break;
    case WM_APP:
      if (legacyPlatform) return verifyPassword == nullptr ? 1 : verifyPassword(window);
      break;
    default:
      if (checkingPassword) break;
      switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
          if (inputRules.OnPress()) Close(window);
          break;
        case WM_MOUSEMOVE:
          if (inputRules.OnPointerMoved(CursorPosition())) Close(window);
          break;
        case WM_ACTIVATEAPP:
          if (inputRules.OnActivation(wParam != 0)) Close(window);
          break;
        case WM_SHOWWINDOW:
          if (wParam != 0) SetCursor(nullptr);
          break;
        case WM_SETCURSOR:
          SetCursor(nullptr);
          return 1;
        case WM_POWER:
          if (inputRules.OnPower(static_cast<uint32_t>(wParam))) Close(window);
          break;
        case WM_POWERBROADCAST: {
          const uint8_t status = wParam == PBT_APMPOWERSTATUSCHANGE ? AcLineStatus() : 255;
          if (inputRules.OnPowerBroadcast(static_cast<uint32_t>(wParam),
                                          static_cast<uint32_t>(lParam), status)) {
            Close(window);
          }
          break;
        }
        default:
          break;
      }
  }
  return FinalStep(window, message, wParam, lParam);
}

// Starts the render thread with the window and stops it when the window goes.
LRESULT SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      saverWindow = window;
      surface = new WglSurface(window);
      renderThread = new RenderThread(*surface, scene, tickClock, renderLink,
                                      MakeRenderSettings(Settings(), {}, TheEventLog()),
                                      TheEventLog(), TheFrameRateCounter());
      renderThread->Start();
      break;
    }
    case WM_DESTROY:
      if (renderThread != nullptr) renderThread->Stop();
      break;
    case WM_USER:
      if (const char* text = TheEventLog().ErrorMessage()) {
        // While the box is up the saver no longer listens to input (a pointer move would
        // close it, and its WM_QUIT would end the box unread), and its full-screen window
        // leaves the screen so that nothing hides the box.
        inputRules.SetClosing();
        ShowWindow(window, SW_HIDE);
        MessageBoxA(nullptr, text, "Screen saver", MB_OK | MB_TOPMOST);
      }
      DestroyWindow(window);
      break;
    default:
      break;
  }
  return SaverDefaultProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SaverClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Keep the input method away from the saver, if the process already has one loaded.
      if (HMODULE imm = GetModuleHandleW(L"IMM32.DLL")) {
        immAssociateContext = reinterpret_cast<ImmAssociateContextProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(imm, "ImmAssociateContext")));
        if (immAssociateContext != nullptr) {
          previousInputContext = immAssociateContext(window, nullptr);
        }
      }
      inputRules.SetMouseReference(CursorPosition());
      if (!previewMode) SetCursor(nullptr);
      break;
    case WM_DESTROY:
      if (previousInputContext != nullptr && immAssociateContext != nullptr) {
        immAssociateContext(window, previousInputContext);
      }
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (inputRules.Closing()) return DefWindowProcW(window, message, wParam, lParam);
      if (!previewMode) SetCursor(nullptr);
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (previewMode) {
        HWND parent = GetParent(window);
        if (parent != nullptr && IsWindow(parent)) {
          PostMessageW(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
        }
        return 1;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (inputRules.Closing()) return DefWindowProcW(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      if (previewMode) break;
      switch (wParam & 0xFFF0) {
        case SC_SCREENSAVE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          return 0;
        case SC_MONITORPOWER:
          Close(window);
          break;
        default:
          break;
      }
      break;
    case WM_TIMER:
      if (inputRules.Closing()) return 0;
      Sleep(0);
      break;
    default:
      break;
  }
  return SceneWindowProc(window, message, wParam, lParam);
}

// --- Settings dialog ----------------------------------------------------------------------

SettingsDialogModel& DialogModel() {
  static SettingsDialogModel model(Settings(), Store());
  return model;
}

void RefreshSettingsChecks(HWND dialog) {
  CheckDlgButton(dialog, kShowFpsId, DialogModel().ShowFpsChecked() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kVSyncControlId,
                 DialogModel().VSyncChecked() ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadIconW(mainInstance, MAKEINTRESOURCEW(kIconId))));
      SendMessageW(dialog, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(LoadIconW(mainInstance, MAKEINTRESOURCEW(kIconId))));
      return 0;
    case WM_SHOWWINDOW:
      RefreshSettingsChecks(dialog);
      return 0;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return 1;
    case WM_COMMAND: {
      const int control = LOWORD(wParam);
      const bool checked = IsDlgButtonChecked(dialog, control) == BST_CHECKED;
      switch (DialogModel().OnCommand(control, HIWORD(wParam), checked)) {
        case SettingsDialogModel::Outcome::Ignored:
          return 0;
        case SettingsDialogModel::Outcome::Handled:
          RefreshSettingsChecks(dialog);
          return 1;
        case SettingsDialogModel::Outcome::Close:
          SendMessageW(dialog, WM_CLOSE, 0, 0);
          return 1;
        case SettingsDialogModel::Outcome::SaveFailed:
          MessageBoxA(dialog, DialogModel().SaveError().c_str(), "Driftglass screensaver",
                      MB_OK | MB_ICONWARNING);
          return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

// --- Modes ----------------------------------------------------------------------------------

int RunSettings(HWND parent) {
  return static_cast<int>(DialogBoxParamW(mainInstance, MAKEINTRESOURCEW(kSettingsDialogId), parent,
                                          SettingsDialogProc, 0));
}

int RunSaver(HWND parent) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = SaverClassProc;
  windowClass.hInstance = mainInstance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;

  int x = 0, y = 0, width = 0, height = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  const wchar_t* title = L"Preview";
  if (parent != nullptr) {
    RECT client{};
    GetClientRect(parent, &client);
    width = client.right;
    height = client.bottom;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    previewMode = true;
  } else {
    x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width == 0 || height == 0) {
      HDC screen = GetDC(nullptr);
      RECT box{};
      GetClipBox(screen, &box);
      ReleaseDC(nullptr, screen);
      x = box.left;
      y = box.top;
      width = box.right - box.left;
      height = box.bottom - box.top;
    }
    style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    exStyle = WS_EX_TOPMOST;
    title = kFullScreenTitle;
    // Only one full-screen saver at a time: bring the running one forward.
    if (HWND running = FindWindowW(kClassName, kFullScreenTitle)) {
      SetForegroundWindow(running);
      return 0;
    }
    inputRules = SaverInputRules(false, CursorPosition(), AcLineStatus());
    LoadPasswordLibrary();
  }
  autoPlayMessage = legacyPlatform ? RegisterWindowMessageW(L"QueryCancelAutoPlay") : 0;
  if (previewMode) inputRules = SaverInputRules(true, CursorPosition(), 255);

  if (RegisterClassW(&windowClass) != 0) {
    saverWindow = CreateWindowExW(exStyle, kClassName, title, style, x, y, width, height, parent,
                                  nullptr, mainInstance, nullptr);
  }
  int exitCode = 0;
  if (saverWindow != nullptr) {
    if (!previewMode) SetForegroundWindow(saverWindow);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    exitCode = static_cast<int>(message.wParam);
  }
  if (renderThread != nullptr) renderThread->Join();
  UnloadPasswordLibrary();
  return exitCode;
}

std::string AsciiArguments(const wchar_t* text) {
  std::string result;
  for (; *text != 0; ++text) result += *text < 128 ? static_cast<char>(*text) : '?';
  return result;
}

HWND WindowFromNumber(uint32_t number) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}

LONG WINAPI OnFatalFault(EXCEPTION_POINTERS*) {
  SetSaverRunning(false);
  ExitProcess(static_cast<UINT>(-1));
}

int SaverMain(HINSTANCE instance, const wchar_t* arguments) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  mainInstance = instance;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  legacyPlatform = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
  SetUnhandledExceptionFilter(OnFatalFault);

  const SaverCommand command = ParseSaverArguments(AsciiArguments(arguments));
  switch (command.mode) {
    case SaverMode::FullScreen:
      return RunSaver(nullptr);
    case SaverMode::Preview: {
      HWND parent = WindowFromNumber(command.window);
      if (!IsWindow(parent)) return -1;
      return RunSaver(parent);
    }
    case SaverMode::Settings: {
      HWND owner = WindowFromNumber(command.window);
      if (command.window == 0 || !IsWindow(owner)) owner = GetForegroundWindow();
      return RunSettings(owner);
    }
    case SaverMode::ChangePassword: {
      if (!legacyPlatform) return -1;
      HWND parent = WindowFromNumber(command.window);
      if (command.window == 0 || !IsWindow(parent)) parent = GetForegroundWindow();
      ChangePassword(parent);
      return 0;
    }
    case SaverMode::Invalid:
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

// Skips the program name in the command line and the blanks after it.
const wchar_t* ArgumentText(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != 0 && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line > 32) ++line;
  }
  while (*line >= 1 && *line <= 32) ++line;
  return line;
}

}  // namespace

void SaverEntry() {
  TheEventLog().Open(std::filesystem::path(LogPath()));
  Settings();  // the options are loaded before anything else
  ExitProcess(
      static_cast<UINT>(SaverMain(GetModuleHandleW(nullptr), ArgumentText(GetCommandLineW()))));
}

}  // namespace driftglass

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  driftglass::SaverEntry();
  return 0;
}

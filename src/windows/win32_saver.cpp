// The saver window's procedures, its input rules and its run.
#include "windows/win32_saver.h"

#include <string>

#include "foundation/event_log.h"
#include "host/frame_rate_counter.h"
#include "host/monitor_views.h"
#include "host/render_settings.h"
#include "host/window_plan.h"
#include "windows/dsound_device.h"
#include "windows/wgl_surface.h"
#include "windows/win32_password.h"
#include "windows/win32_sound_claim.h"

namespace driftglass {
namespace {

constexpr wchar_t kClassName[] = L"WindowsScreenSaverClass";

ScreenPoint CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM monitors) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(handle, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(monitors)->push_back(
        {{r.left, r.top, r.right - r.left, r.bottom - r.top},
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

// The monitors of the desktop, in virtual-screen pixels.
std::vector<Monitor> ReadMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

uint8_t AcLineStatus() {
  SYSTEM_POWER_STATUS status{};
  return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

void Close(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
}

template <typename Proc>
Proc LookUp(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

Win32Saver::Win32Saver(HINSTANCE instance, const SaverSettings& settings, bool legacyPlatform)
    : instance_(instance), settings_(settings), legacyPlatform_(legacyPlatform),
      password_(legacyPlatform) {}

Win32Saver::~Win32Saver() = default;

// --- The old Windows family's password handling -------------------------------------------

// Decides whether the saver may close now, asking for the password when one is set.
bool Win32Saver::VerifyPasswordOnClose(HWND window) {
  switch (passwordGate_.Request(checkingPassword_, inputRules_.Closing(),
                                password_.IsSet(), GetTickCount())) {
    case PasswordCloseGate::Decision::Refuse:
      return inputRules_.Closing();
    case PasswordCloseGate::Decision::Allow:
      inputRules_.SetClosing();
      return true;
    case PasswordCloseGate::Decision::Verify:
      break;
  }
  checkingPassword_ = true;
  MSG pending;
  PeekMessageW(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  PeekMessageW(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
  const bool granted = SendMessageW(window, WM_APP, 0, 0) != 0;
  checkingPassword_ = false;
  if (granted) {
    inputRules_.SetClosing();
  } else {
    SetCursor(nullptr);
  }
  passwordGate_.Checked(GetTickCount());
  return granted;
}

// --- Window procedures --------------------------------------------------------------------

LRESULT CALLBACK Win32Saver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* saver = reinterpret_cast<Win32Saver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (saver == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return saver->SaverClassProc(window, message, wParam, lParam);
}

LRESULT Win32Saver::FinalStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (autoPlayMessage_ != 0 && message == autoPlayMessage_) {
    Close(window);
    return password_.IsSet() ? 1 : 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The saver's input rules: which messages close it.
LRESULT Win32Saver::SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (previewMode_ || inputRules_.Closing()) return FinalStep(window, message, wParam, lParam);
  if (message == WM_CLOSE && legacyPlatform_ && !VerifyPasswordOnClose(window)) {
    inputRules_.SetMouseReference(CursorPosition());
    return 0;
  }
  if (message == WM_APP && legacyPlatform_) return password_.Verify(window) ? 1 : 0;
  // While the password box is up, its input is its own.
  if (!checkingPassword_ && InputCloses(message, wParam, lParam)) Close(window);
  if (message == WM_SETCURSOR && !checkingPassword_) return 1;
  return FinalStep(window, message, wParam, lParam);
}

bool Win32Saver::InputCloses(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return inputRules_.OnPress();
    case WM_MOUSEMOVE:
      return inputRules_.OnPointerMoved(CursorPosition());
    case WM_ACTIVATEAPP:
      return inputRules_.OnActivation(wParam != 0);
    case WM_SHOWWINDOW:
      if (wParam != 0) SetCursor(nullptr);
      return false;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return false;
    case WM_POWER:
      return inputRules_.OnPower(static_cast<uint32_t>(wParam));
    case WM_POWERBROADCAST: {
      const uint8_t status = wParam == PBT_APMPOWERSTATUSCHANGE ? AcLineStatus() : 255;
      return inputRules_.OnPowerBroadcast(static_cast<uint32_t>(wParam),
                                          static_cast<uint32_t>(lParam), status);
    }
    default:
      return false;
  }
}

void Win32Saver::RequestFailureMessage() {
  SendMessageW(window_, WM_USER, 0, 0);
}

// Starts the render thread with the window and stops it when the window goes.
LRESULT Win32Saver::SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      window_ = window;
      surface_ = std::make_unique<WglSurface>(window);
      // The drawing area is the client area as it is now, whatever size the driver's first
      // look at the window gave (Wine sees a window over two monitors as over the first).
      {
        RECT client{};
        GetClientRect(window, &client);
        surface_->Resize(client.right, client.bottom);
      }
      sound_ = std::make_unique<DirectSoundDevice>(window);
      // One instance in the session plays the sound; a preview gives it up to full screen.
      soundClaim_ = std::make_unique<Win32SoundClaim>(!render_.soundGivesWay);
      renderThread_ = std::make_unique<RenderThread>(
          *surface_, *sound_, *soundClaim_, scene_, clock_, static_cast<WindowThreadLink&>(*this),
          render_, TheFrameRateCounter());
      renderThread_->Start();
      break;
    case WM_SIZE:
      if (surface_) surface_->Resize(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_DESTROY:
      if (renderThread_) renderThread_->Stop();
      break;
    case WM_USER:
      if (const char* text = TheEventLog().ErrorMessage()) {
        // While the box is up the saver no longer listens to input (a pointer move would
        // close it, and its WM_QUIT would end the box unread), and its full-screen window
        // leaves the screen so that nothing hides the box.
        inputRules_.SetClosing();
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

LRESULT Win32Saver::SaverClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      // Keep the input method away from the saver, if the process already has one loaded.
      if (HMODULE imm = GetModuleHandleW(L"IMM32.DLL")) {
        immAssociateContext_ = LookUp<ImmAssociateContextProc>(imm, "ImmAssociateContext");
        if (immAssociateContext_ != nullptr) {
          previousInputContext_ = immAssociateContext_(window, nullptr);
        }
      }
      inputRules_.SetMouseReference(CursorPosition());
      if (!previewMode_) SetCursor(nullptr);
      break;
    case WM_DESTROY:
      if (previousInputContext_ != nullptr && immAssociateContext_ != nullptr) {
        immAssociateContext_(window, previousInputContext_);
      }
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (inputRules_.Closing()) return DefWindowProcW(window, message, wParam, lParam);
      if (!previewMode_) SetCursor(nullptr);
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (previewMode_) {
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
      if (inputRules_.Closing()) return DefWindowProcW(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      switch (inputRules_.OnSystemCommand(static_cast<uint32_t>(wParam))) {
        case SystemCommandAction::Swallow:
          return 0;
        case SystemCommandAction::CloseAndPassOn:
          Close(window);
          break;
        case SystemCommandAction::PassOn:
          break;
      }
      break;
    case WM_TIMER:
      if (inputRules_.Closing()) return 0;
      Sleep(0);
      break;
    default:
      break;
  }
  return SceneWindowProc(window, message, wParam, lParam);
}

// --- The saver's run ------------------------------------------------------------------------

int Win32Saver::Run(const CommandLine& commandLine) {
  const WindowPlan plan = PlanWindow(commandLine);
  render_ = MakeRenderSettings(settings_, commandLine);
  WNDCLASSW windowClass{};
  windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;

  int x = 0, y = 0, width = 0, height = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  const std::wstring title(plan.title.begin(), plan.title.end());
  HWND parent = nullptr;
  previewMode_ = plan.input == WindowInput::Ignored;
  if (plan.place == WindowPlace::InParent) {
    parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(plan.parent));
    if (!IsWindow(parent)) return plan.missingWindowStatus;
    RECT client{};
    GetClientRect(parent, &client);
    width = client.right;
    height = client.bottom;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    inputRules_ = SaverInputRules(true, CursorPosition(), 255);
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
    // Only one full-screen saver at a time: bring the running one forward.
    if (HWND running = FindWindowW(kClassName, title.c_str())) {
      SetForegroundWindow(running);
      return 0;
    }
    inputRules_ = SaverInputRules(false, CursorPosition(), AcLineStatus());
    password_.Load();
    // One window over the virtual screen, with the scene drawn into each monitor with its own
    // shape.
    scene_.UseViewAreas(
        MonitorViews(ReadMonitors(), ScreenRect{x, y, width, height}, render_.allMonitors));
  }
  autoPlayMessage_ = legacyPlatform_ ? RegisterWindowMessageW(L"QueryCancelAutoPlay") : 0;

  HWND window = nullptr;
  if (RegisterClassW(&windowClass) != 0) {
    // The window finds this object through its creation data.
    window = CreateWindowExW(exStyle, kClassName, title.c_str(), style, x, y, width, height, parent,
                             nullptr, instance_, this);
  }
  int exitCode = 0;
  if (window != nullptr) {
    if (!previewMode_) SetForegroundWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    exitCode = static_cast<int>(message.wParam);
  }
  if (renderThread_) renderThread_->Join();
  return exitCode;
}

}  // namespace driftglass

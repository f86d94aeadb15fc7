// The Windows saver window: full screen or inside a preview parent, its three window-procedure
// layers and its input rules, with the old Windows 9x family's password check (idle on the
// NT family) asked before it closes. One object owns all of it; the window procedure finds
// the object through the window's user data. Window thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "host/command_line.h"
#include "host/render_thread.h"
#include "host/saver_input.h"
#include "host/stored_options.h"
#include "platform/tick_clock.h"
#include "scene/saver_scene.h"
#include "windows/win32_password.h"

namespace driftglass {

class DirectSoundDevice;
class WglSurface;
class Win32SoundClaim;

class Win32Saver : private WindowThreadLink {
 public:
  Win32Saver(HINSTANCE instance, const SaverSettings& settings, bool legacyPlatform);
  ~Win32Saver() override;
  Win32Saver(const Win32Saver&) = delete;
  Win32Saver& operator=(const Win32Saver&) = delete;

  // Full screen or a preview, as `commandLine` asks; returns the exit code.
  int Run(const CommandLine& commandLine);

 private:
  using ImmAssociateContextProc = HANDLE(WINAPI*)(HWND, HANDLE);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The three layers, each passing on to the next: the class's own messages, the render
  // thread's start and stop, and the input rules.
  LRESULT SaverClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT FinalStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The render thread's failure request, sent like a message.
  void RequestFailureMessage() override;

  // Whether `message` is input that ends the saver, by the input rules.
  bool InputCloses(UINT message, WPARAM wParam, LPARAM lParam);
  bool VerifyPasswordOnClose(HWND window);

  HINSTANCE instance_;
  const SaverSettings& settings_;
  const bool legacyPlatform_;
  HWND window_ = nullptr;
  bool previewMode_ = false;
  bool checkingPassword_ = false;
  UINT autoPlayMessage_ = 0;
  LegacyPassword password_;
  ImmAssociateContextProc immAssociateContext_ = nullptr;
  HANDLE previousInputContext_ = nullptr;
  SaverInputRules inputRules_{false, {}, 255};
  PasswordCloseGate passwordGate_;

  RenderSettings render_;
  SaverScene scene_;
  SteadyTickClock clock_;
  std::unique_ptr<WglSurface> surface_;
  std::unique_ptr<DirectSoundDevice> sound_;
  std::unique_ptr<Win32SoundClaim> soundClaim_;
  std::unique_ptr<RenderThread> renderThread_;
};

}  // namespace driftglass

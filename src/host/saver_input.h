// Which input ends a running saver. The window thread translates each native event into one of
// these calls; a true answer means "close the saver now". Pure logic, no window system.
#pragma once

#include <cstdint>

namespace driftglass {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// What a system command (the window menu's, or the system's own) does to the saver.
enum class SystemCommandAction {
  PassOn,         // the default handling
  Swallow,        // ignored: another saver must not start over this one, no window switching
  CloseAndPassOn  // the monitor is being powered down: the saver closes
};

class SaverInputRules {
 public:
  static constexpr unsigned kMouseMoveThreshold = 4;

  SaverInputRules(bool previewMode, ScreenPoint cursorAtStart, uint8_t acLineStatus)
      : previewMode_(previewMode), mouseReference_(cursorAtStart), acLineStatus_(acLineStatus) {}

  // A key or mouse button pressed.
  bool OnPress() const { return Filtering(); }
  // The cursor is now at `cursor` (screen coordinates). More than four pixels (both axes
  // added) from the reference closes and moves the reference; smaller moves add up.
  bool OnPointerMoved(ScreenPoint cursor);
  // The program gained (true) or lost (false) activation or input focus.
  bool OnActivation(bool active) const { return Filtering() && !active; }
  // The power broadcast `event` (with its parameter); `acLineStatus` is the current reading,
  // 255 when unavailable.
  bool OnPowerBroadcast(uint32_t event, uint32_t parameter, uint8_t acLineStatus);
  // The old power message; 3 is a suspend request.
  bool OnPower(uint32_t request) const { return Filtering() && request == 3; }
  // A system command (its low four bits are the system's own and not looked at). A preview
  // passes every command on.
  SystemCommandAction OnSystemCommand(uint32_t command) const;

  // Once closing has been granted, input no longer matters.
  void SetClosing() { closing_ = true; }
  bool Closing() const { return closing_; }
  void SetMouseReference(ScreenPoint cursor) { mouseReference_ = cursor; }
  ScreenPoint MouseReference() const { return mouseReference_; }
  bool PreviewMode() const { return previewMode_; }

 private:
  bool Filtering() const { return !previewMode_ && !closing_; }

  bool previewMode_;
  bool closing_ = false;
  ScreenPoint mouseReference_;
  uint8_t acLineStatus_;
};

// On the old Windows family a password may guard the desktop: a close request is checked
// against it, and requests right after a rejected password are dropped.
class PasswordCloseGate {
 public:
  enum class Decision {
    Refuse,  // keep running (a check is under way, or one just failed)
    Allow,   // no password is set up: close
    Verify,  // ask for the password now
  };
  Decision Request(bool checking, bool closing, bool haveVerifier, uint32_t now) const;
  // A password check ended at tick `now`.
  void Checked(uint32_t now) { lastCheck_ = now; }

 private:
  static constexpr uint32_t kNoCheckYet = 0xFFFFFFFFu;
  static constexpr uint32_t kQuietMs = 200;
  uint32_t lastCheck_ = kNoCheckYet;
};

}  // namespace driftglass

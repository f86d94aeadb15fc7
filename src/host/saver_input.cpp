// The saver's input rules.
#include "host/saver_input.h"

#include <cstdlib>

namespace driftglass {

bool SaverInputRules::OnPointerMoved(ScreenPoint cursor) {
  if (!Filtering()) return false;
  const unsigned distance = static_cast<unsigned>(std::abs(cursor.x - mouseReference_.x)) +
                            static_cast<unsigned>(std::abs(cursor.y - mouseReference_.y));
  if (distance <= kMouseMoveThreshold) return false;
  mouseReference_ = cursor;
  return true;
}

bool SaverInputRules::OnPowerBroadcast(uint32_t event, uint32_t parameter, uint8_t acLineStatus) {
  if (!Filtering()) return false;
  switch (event) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:  // queries, suspend and standby
      return true;
    case 6:
    case 7:
    case 8:
    case 18:  // resume events; bit 0 set means resume after a failure
      return (parameter & 1u) == 0;
    case 10: {  // power status change: close only when the AC line status changed
      const bool changed = acLineStatus != acLineStatus_;
      acLineStatus_ = acLineStatus;
      return changed;
    }
    default:
      return true;
  }
}

SystemCommandAction SaverInputRules::OnSystemCommand(uint32_t command) const {
  if (previewMode_) return SystemCommandAction::PassOn;
  switch (command & 0xFFF0u) {
    case 0xF140u:  // SC_SCREENSAVE
    case 0xF040u:  // SC_NEXTWINDOW
    case 0xF050u:  // SC_PREVWINDOW
      return SystemCommandAction::Swallow;
    case 0xF170u:  // SC_MONITORPOWER
      return SystemCommandAction::CloseAndPassOn;
    default:
      return SystemCommandAction::PassOn;
  }
}

PasswordCloseGate::Decision PasswordCloseGate::Request(bool checking, bool closing,
                                                       bool haveVerifier, uint32_t now) const {
  if (checking || closing) return Decision::Refuse;
  if (!haveVerifier) return Decision::Allow;
  if (lastCheck_ != kNoCheckYet && now - lastCheck_ < kQuietMs) return Decision::Refuse;
  return Decision::Verify;
}

}  // namespace driftglass

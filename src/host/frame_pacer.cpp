// Frame pacing for swaps that do not wait.
#include "host/frame_pacer.h"

namespace driftglass {

double FramePacer::PeriodFor(int swapInterval, double refreshRate) {
  if (swapInterval <= 0) return 0;
  return swapInterval * 1000.0 / (refreshRate > 0 ? refreshRate : 60.0);
}

double FramePacer::WaitAfterSwap(double nowMs) {
  if (periodMs_ <= 0) return 0;
  if (!started_) {
    started_ = true;
    lastMs_ = nowMs;
    return 0;
  }
  // A swap that waited for the refresh comes about a period after the one before; only one
  // that came well before its time (under nine tenths of a period) is made to wait, so the
  // jitter of a real display never costs it a refresh.
  const double spacing = nowMs - lastMs_;
  const double wait = spacing < 0.9 * periodMs_ ? periodMs_ - spacing : 0;
  lastMs_ = nowMs + wait;
  return wait;
}

}  // namespace driftglass

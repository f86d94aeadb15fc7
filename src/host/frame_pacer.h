// Keeps the frame loop to the display's pace when the buffer swap does not wait for the
// refresh (virtual displays, remote desktops, drivers that ignore the swap interval): a frame
// that comes well before its time waits out the rest of its period. Where the swap does wait,
// frames already come a period apart and nothing is added. Pure timing logic.
#pragma once

namespace driftglass {

class FramePacer {
 public:
  // One frame every `periodMs` milliseconds; 0 runs free.
  explicit FramePacer(double periodMs) : periodMs_(periodMs) {}

  // The period for a swap interval on a display of `refreshRate` frames per second (60 when
  // it is not known); 0 (run free) for an interval of 0.
  static double PeriodFor(int swapInterval, double refreshRate);

  // Called as each swap returns, at `nowMs` on a steady clock; how long to wait before the
  // next frame.
  double WaitAfterSwap(double nowMs);

 private:
  double periodMs_;
  bool started_ = false;
  double lastMs_ = 0;  // when the previous frame's wait ended
};

}  // namespace driftglass

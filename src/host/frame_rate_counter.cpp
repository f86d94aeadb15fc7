// The frame-time average behind the overlay text and the "FPS = %g" log line.
#include "host/frame_rate_counter.h"

#include <cstdio>

namespace driftglass {

const char* FrameRateCounter::Measure(uint32_t now) {
  if (lastTick_ == kNotStarted) lastTick_ = now;
  const double delta = static_cast<double>(static_cast<uint32_t>(now - lastTick_));
  lastTick_ = now;
  if (sampleCount_ < 1000.0) sampleCount_ += 1.0;
  // The plain mean over the first thousand frames, a slow moving average after that.
  meanFrameMs_ += (delta - meanFrameMs_) / sampleCount_;
  if (meanFrameMs_ != 0.0) {
    std::snprintf(text_, sizeof text_, "FPS : %g", 1000.0 / meanFrameMs_);
  } else {
    std::snprintf(text_, sizeof text_, "---");
  }
  return text_;
}

double FrameRateCounter::AverageFrameRate() const {
  return meanFrameMs_ > 0.0 ? 1000.0 / meanFrameMs_ : -1.0;
}

FrameRateCounter& TheFrameRateCounter() {
  static FrameRateCounter counter;
  return counter;
}

}  // namespace driftglass

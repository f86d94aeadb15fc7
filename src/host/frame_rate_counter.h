// Measures the time between drawn frames and keeps its running mean. The render thread
// measures; the window thread reads the average once the render thread has finished.
#pragma once

#include <cstdint>

namespace driftglass {

class FrameRateCounter {
 public:
  // Measures one frame ending at tick `now` and returns the text to show ("---" or
  // "FPS : 50"). The text lives in the counter until the next call.
  const char* Measure(uint32_t now);
  // Frames per second from the mean, or -1 when nothing was measured.
  double AverageFrameRate() const;
  // The overlay's rectangle: a tenth of the screen in each direction, from the top-left corner.
  static void TextRectangle(int screenWidth, int screenHeight, int& right, int& bottom) {
    right = screenWidth / 10;
    bottom = screenHeight / 10;
  }
  double MeanFrameMs() const { return meanFrameMs_; }
  double SampleCount() const { return sampleCount_; }

 private:
  static constexpr uint32_t kNotStarted = 0xFFFFFFFFu;
  uint32_t lastTick_ = kNotStarted;
  double meanFrameMs_ = 0.0;
  double sampleCount_ = 0.0;
  char text_[32] = "---";
};

// The process-wide counter shared by the render thread and the window thread.
FrameRateCounter& TheFrameRateCounter();

}  // namespace driftglass

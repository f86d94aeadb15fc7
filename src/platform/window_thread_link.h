// The window thread's side as the render thread sees it: each platform's saver window answers
// it. Called on the render thread.
#pragma once

namespace driftglass {

class WindowThreadLink {
 public:
  virtual ~WindowThreadLink() = default;
  // Asks the window thread to show the stored user message and destroy the window; returns
  // once it has done so.
  virtual void RequestFailureMessage() = 0;
};

}  // namespace driftglass

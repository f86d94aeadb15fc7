// A one-waiter event that resets itself when a wait returns, as the window thread uses to
// learn that the render thread has finished.
#pragma once

#include <condition_variable>
#include <mutex>

namespace driftglass {

class AutoResetEvent {
 public:
  void Signal() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
    condition_.notify_one();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    condition_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
  }

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  bool signalled_ = false;
};

}  // namespace driftglass

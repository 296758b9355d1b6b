#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace fluxo::tonewell {

// A stop request that sleeping threads wake up for at once.
class StopSignal {
 public:
  void Request() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    wake_.notify_all();
  }
  bool Requested() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopped_;
  }
  // Sleeps until `deadline` or a stop request; true when stopped.
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return wake_.wait_until(lock, deadline, [this] { return stopped_; });
  }
  bool WaitFor(std::chrono::milliseconds span) const { return WaitUntil(std::chrono::steady_clock::now() + span); }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable wake_;
  bool stopped_ = false;
};

}  // namespace fluxo::tonewell

#pragma once
#include <condition_variable>
#include <mutex>

namespace fluxo {

// Suspend/resume for a worker thread: the thread passes the gate at safe
// points and waits there while the gate is closed.
class PauseGate {
 public:
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  void Open() {
    {
      std::lock_guard lock(mutex_);
      closed_ = false;
    }
    changed_.notify_all();
  }
  bool IsClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
  }
  // Blocks while the gate is closed.
  void Pass() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !closed_; });
    --waiting_;
  }
  // Closes the gate and waits until a thread stands at it.
  void CloseAndWaitForArrival() {
    std::unique_lock lock(mutex_);
    closed_ = true;
    changed_.wait(lock, [this] { return waiting_ > 0; });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool closed_ = false;
  int waiting_ = 0;
};

}  // namespace fluxo

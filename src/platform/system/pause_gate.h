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
    changed_.wait(lock, [this] { return !closed_; });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool closed_ = false;
};

}  // namespace fluxo

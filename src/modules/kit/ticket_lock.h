#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace fluxo::kit {

// A lock served in the order it was asked for, which any thread may release.
// A thread that releases it and asks again at once queues behind whoever was
// already waiting, so a waiting thread always gets its turn.
class TicketLock {
 public:
  void Acquire() {
    std::unique_lock guard(mutex_);
    const uint64_t ticket = next_++;
    turn_.wait(guard, [&] { return serving_ == ticket; });
  }
  void Release() {
    {
      std::lock_guard guard(mutex_);
      ++serving_;
    }
    turn_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable turn_;
  uint64_t next_ = 0;
  uint64_t serving_ = 0;
};

}  // namespace fluxo::kit

#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace fluxo {

// A thread that can be waited for with a time limit. A thread that does not
// end in time is detached and left to the ending process, which is as close
// as this platform comes to terminating it.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void Start(std::function<void()> body);
  bool Exists() const { return thread_.joinable(); }
  // Waits up to `limit` for the body to return; joins it, or detaches it when
  // it is still running. Returns true when the thread ended in time.
  bool Stop(std::chrono::milliseconds limit);

 private:
  struct Done {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
  };
  std::thread thread_;
  std::shared_ptr<Done> done_;
};

}  // namespace fluxo

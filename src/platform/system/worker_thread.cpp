#include "platform/system/worker_thread.h"

namespace fluxo {

WorkerThread::~WorkerThread() {
  if (thread_.joinable()) Stop(std::chrono::milliseconds(2000));
}

void WorkerThread::Start(std::function<void()> body) {
  done_ = std::make_shared<Done>();
  thread_ = std::thread([done = done_, body = std::move(body)] {
    body();
    std::lock_guard lock(done->mutex);
    done->done = true;
    done->cv.notify_all();
  });
}

bool WorkerThread::Stop(std::chrono::milliseconds limit) {
  if (!thread_.joinable()) return true;
  bool ended;
  {
    std::unique_lock lock(done_->mutex);
    ended = done_->cv.wait_for(lock, limit, [this] { return done_->done; });
  }
  if (ended)
    thread_.join();
  else
    thread_.detach();
  done_.reset();
  return ended;
}

}  // namespace fluxo

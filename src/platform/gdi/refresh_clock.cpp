#include <cmath>

#include "platform/gdi/frame_exchange.h"

namespace fluxo::gdi {
namespace {

std::chrono::steady_clock::duration PeriodOf(double hertz) {
  // A display that reports no usable rate refreshes at 60 Hz.
  if (!std::isfinite(hertz) || hertz < 0.01 || hertz > 1000.0) hertz = 60.0;
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1.0 / hertz));
}

}  // namespace

RefreshClock::RefreshClock(double hertz) : period_(PeriodOf(hertz)), next_(std::chrono::steady_clock::now()) {}

void RefreshClock::WaitForNextRefresh() {
  std::unique_lock lock(mutex_);
  if (stop_) return;
  // Ticks fall at fixed times; a caller that missed some waits for the next
  // one instead of catching up in a burst.
  const auto now = std::chrono::steady_clock::now();
  if (next_ <= now) next_ += ((now - next_) / period_ + 1) * period_;
  const auto tick = next_;
  next_ += period_;
  stopped_.wait_until(lock, tick, [this] { return stop_; });
}

void RefreshClock::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  stopped_.notify_all();
}

}  // namespace fluxo::gdi

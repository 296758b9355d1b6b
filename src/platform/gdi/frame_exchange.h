#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/gdi/changed_tiles.h"

namespace fluxo::gdi {

// Hands finished frames from the render thread to the presenter: the render
// thread publishes a copy, the presenter reads the newest one in place.
class FrameExchange {
 public:
  // `drawn`, when given at the frame's size, holds every tile drawn into
  // since the last publish: only those are looked at. Without it every tile
  // is compared.
  void Publish(const uint8_t* pixels, int width, int height, const ChangedTiles* drawn = nullptr);
  // Copies the newest frame when it is newer than `serial`; returns false otherwise.
  bool TakeIfNewer(uint64_t& serial, std::vector<uint8_t>& pixels, int& width, int& height) const;
  // Swaps the tiles that changed since the last call (all of them after a
  // change of size), at the newest frame's size, into `changes`; its old
  // contents are reused. Meant for the one presenter.
  void TakeChanges(ChangedTiles& changes);
  // Calls reader(pixels, width, height) with the newest frame, which stays
  // unchanged until the reader returns.
  template <typename Reader>
  void Read(Reader&& reader) const {
    std::lock_guard lock(mutex_);
    reader(pixels_.data(), width_, height_);
  }
  uint64_t Serial() const;

 private:
  mutable std::mutex mutex_;
  std::vector<uint8_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  ChangedTiles changed_;
  uint64_t serial_ = 0;
};

// A display refresh: Flush waits for the next tick so each pass is seen once.
class RefreshClock {
 public:
  explicit RefreshClock(double hertz = 60.0);
  void WaitForNextRefresh();
  // Wakes any waiter for good (at shutdown).
  void Stop();

 private:
  std::chrono::steady_clock::duration period_;
  std::chrono::steady_clock::time_point next_;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
};

// Converts palette indices to 0xFFRRGGBB through a 256-entry table.
void IndicesToRgb(const uint8_t* indices, size_t count, const uint32_t (&table)[256], uint32_t* out);
// The same for `rows` rows of `count` indices, `stride` bytes apart, into
// rows `outStride` words apart. All rows are fetched from memory at once
// first: converted one by one, each row would wait for memory in turn.
void RectIndicesToRgb(const uint8_t* indices, size_t stride, size_t count, int rows, const uint32_t (&table)[256],
                      uint32_t* out, size_t outStride);

}  // namespace fluxo::gdi

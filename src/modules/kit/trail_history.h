#pragma once
#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/system/saver_state.h"

namespace fluxo::kit {

// The ring of per-frame parameters behind an eraser trail: the head stores
// what it drew with, and the tail replays the same records T frames later in
// black. A trail of at least the ring's capacity is never erased.
template <typename Record>
class TrailHistory {
 public:
  explicit TrailHistory(int capacity) : capacity_(capacity) {}

  // The zero-filled block; obtained by a module's allocate, released by its free.
  void Allocate() { records_.assign(static_cast<size_t>(capacity_), Record{}); }
  void Release() { std::vector<Record>().swap(records_); }
  bool Allocated() const { return !records_.empty(); }

  // A new run with a trail of `trailFrames` frames: the tail starts once the
  // head has drawn that many.
  void Restart(int trailFrames) {
    trail_ = std::max(0, trailFrames);
    head_ = tail_ = Erases() ? trail_ : 0;
    fill_ = 0;
  }
  bool Erases() const { return trail_ < capacity_; }

  Record& Head() { return records_[head_]; }
  const Record& Tail() const { return records_[tail_]; }
  void AdvanceHead() { head_ = (head_ + 1) % capacity_; }
  void AdvanceTail() { tail_ = (tail_ + 1) % capacity_; }

  // Once per frame: true when the tail is due to erase; otherwise the trail
  // is still filling.
  bool TailDue() {
    if (Erases() && fill_ >= trail_) return true;
    if (fill_ < trail_) ++fill_;
    return false;
  }

  // Frames drawn by the head that the tail has not erased yet.
  bool TrailLeft() const { return Erases() && tail_ != head_; }

 private:
  int capacity_;
  std::vector<Record> records_;
  int trail_ = 0;
  int head_ = 0;
  int tail_ = 0;
  int fill_ = 0;
};

// An eraser gives up when the render thread is told to stop.
inline bool RenderThreadRunning() { return Saver().saverRunning.load(std::memory_order_relaxed) != 0; }

// Blackens every frame the tail has not erased yet, oldest first: `eraseFrame`
// replays history.Tail() in black and advances the tail. Stops early when the
// render thread is told to stop.
template <typename Record, typename EraseFrame>
void EraseRemainingTrail(TrailHistory<Record>& history, EraseFrame&& eraseFrame) {
  while (history.TrailLeft() && RenderThreadRunning()) eraseFrame();
}

}  // namespace fluxo::kit

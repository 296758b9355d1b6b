#include "platform/gdi/frame_exchange.h"

#include <algorithm>
#include <cstring>

namespace fluxo::gdi {
namespace {

constexpr int kPiece = ChangedTiles::kTileWidth;

// A whole tile's width of a row, compared inline in 16-byte vectors: a
// library call per piece would cost more than the comparison.
bool SamePiece(const uint8_t* a, const uint8_t* b) {
  using Bytes = uint64_t __attribute__((vector_size(16)));
  Bytes differ{};
  for (int i = 0; i < kPiece; i += 16) {
    Bytes x, y;
    std::memcpy(&x, a + i, 16);
    std::memcpy(&y, b + i, 16);
    differ |= x ^ y;
  }
  return (differ[0] | differ[1]) == 0;
}

// Copies the pieces of one row that differ and marks their tiles.
void CopyChangedPieces(const uint8_t* from, uint8_t* to, int width, int y, ChangedTiles& changed) {
  int x = 0;
  for (; x + kPiece <= width; x += kPiece) {
    if (SamePiece(from + x, to + x)) continue;
    std::memcpy(to + x, from + x, kPiece);
    changed.Mark(x, y);
  }
  const size_t rest = static_cast<size_t>(width - x);
  if (rest > 0 && std::memcmp(from + x, to + x, rest) != 0) {
    std::memcpy(to + x, from + x, rest);
    changed.Mark(x, y);
  }
}

}  // namespace

void FrameExchange::Publish(const uint8_t* pixels, int width, int height) {
  const bool empty = width <= 0 || height <= 0;
  if (empty) width = height = 0;
  const size_t rowBytes = static_cast<size_t>(width);
  std::lock_guard lock(mutex_);
  if (width != width_ || height != height_) {
    pixels_.assign(pixels, pixels + rowBytes * height);
    width_ = width;
    height_ = height;
    changed_.Reset(width, height, true);
  } else {
    // Only what differs is copied and reported, so a picture that stands
    // still costs the presenter nothing.
    for (int y = 0; y < height; ++y) {
      CopyChangedPieces(pixels + rowBytes * y, pixels_.data() + rowBytes * y, width, y, changed_);
    }
  }
  ++serial_;
}

bool FrameExchange::TakeIfNewer(uint64_t& serial, std::vector<uint8_t>& pixels, int& width, int& height) const {
  std::lock_guard lock(mutex_);
  if (serial_ <= serial) return false;
  pixels.assign(pixels_.begin(), pixels_.end());
  width = width_;
  height = height_;
  serial = serial_;
  return true;
}

void FrameExchange::TakeChanges(ChangedTiles& changes) {
  std::lock_guard lock(mutex_);
  std::swap(changes, changed_);
  changed_.Reset(width_, height_, false);
}

uint64_t FrameExchange::Serial() const {
  std::lock_guard lock(mutex_);
  return serial_;
}

}  // namespace fluxo::gdi

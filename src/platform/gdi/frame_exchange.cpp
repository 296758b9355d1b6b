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

// Copies the pieces of one row between x0 and x1 (tile edges) that differ
// and marks their tiles.
void CopyChangedPieces(const uint8_t* from, uint8_t* to, int x0, int x1, int y, ChangedTiles& changed) {
  int x = x0;
  for (; x + kPiece <= x1; x += kPiece) {
    if (SamePiece(from + x, to + x)) continue;
    std::memcpy(to + x, from + x, kPiece);
    changed.Mark(x, y);
  }
  const size_t rest = static_cast<size_t>(x1 - x);
  if (rest > 0 && std::memcmp(from + x, to + x, rest) != 0) {
    std::memcpy(to + x, from + x, rest);
    changed.Mark(x, y);
  }
}

// Compares and copies the runs of drawn tiles only, band by band.
void CopyDrawnTiles(const uint8_t* from, uint8_t* to, int width, int height, const ChangedTiles& drawn,
                    ChangedTiles& changed) {
  const size_t rowBytes = static_cast<size_t>(width);
  for (int band = 0, bands = drawn.Bands(); band < bands; ++band) {
    const int top = band * ChangedTiles::kTileHeight;
    const int bottom = std::min(height, top + ChangedTiles::kTileHeight);
    for (int column = 0, columns = drawn.Columns(); column < columns;) {
      if (!drawn.Marked(column, band)) {
        ++column;
        continue;
      }
      const int first = column;
      while (column < columns && drawn.Marked(column, band)) ++column;
      const int x0 = first * kPiece, x1 = std::min(width, column * kPiece);
      for (int y = top; y < bottom; ++y) {
        CopyChangedPieces(from + rowBytes * y, to + rowBytes * y, x0, x1, y, changed);
      }
    }
  }
}

}  // namespace

void FrameExchange::Publish(const uint8_t* pixels, int width, int height, const ChangedTiles* drawn) {
  const bool empty = width <= 0 || height <= 0;
  if (empty) width = height = 0;
  const size_t rowBytes = static_cast<size_t>(width);
  std::lock_guard lock(mutex_);
  if (width != width_ || height != height_) {
    pixels_.assign(pixels, pixels + rowBytes * height);
    width_ = width;
    height_ = height;
    changed_.Reset(width, height, true);
  } else if (drawn != nullptr && drawn->Width() == width && drawn->Height() == height) {
    // Only what differs is copied and reported, so a picture that stands
    // still costs the presenter nothing; tiles nobody drew into cannot differ.
    if (drawn->Any()) CopyDrawnTiles(pixels, pixels_.data(), width, height, *drawn, changed_);
  } else {
    for (int y = 0; y < height; ++y) {
      CopyChangedPieces(pixels + rowBytes * y, pixels_.data() + rowBytes * y, 0, width, y, changed_);
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

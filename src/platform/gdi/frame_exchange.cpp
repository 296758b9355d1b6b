#include "platform/gdi/frame_exchange.h"

#include <algorithm>
#include <cstring>

namespace fluxo::gdi {

void FrameExchange::Publish(const uint8_t* pixels, int width, int height) {
  const bool empty = width <= 0 || height <= 0;
  if (empty) width = height = 0;
  const size_t rowBytes = static_cast<size_t>(width);
  std::lock_guard lock(mutex_);
  if (width != width_ || height != height_) {
    pixels_.assign(pixels, pixels + rowBytes * height);
    width_ = width;
    height_ = height;
    changed_ = {0, height};
  } else {
    // Only the rows that differ are copied and reported, so a picture that
    // stands still costs the presenter nothing.
    for (int y = 0; y < height; ++y) {
      const uint8_t* from = pixels + rowBytes * y;
      uint8_t* to = pixels_.data() + rowBytes * y;
      if (std::memcmp(from, to, rowBytes) == 0) continue;
      std::memcpy(to, from, rowBytes);
      changed_ = changed_.Empty() ? RowRange{y, y + 1}
                                  : RowRange{std::min(changed_.first, y), std::max(changed_.end, y + 1)};
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

RowRange FrameExchange::TakeChangedRows(int& width, int& height) {
  std::lock_guard lock(mutex_);
  width = width_;
  height = height_;
  const RowRange rows = changed_;
  changed_ = {};
  return rows;
}

uint64_t FrameExchange::Serial() const {
  std::lock_guard lock(mutex_);
  return serial_;
}

}  // namespace fluxo::gdi

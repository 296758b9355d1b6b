#include "platform/gdi/frame_exchange.h"

#include <cstring>

namespace fluxo::gdi {

void FrameExchange::Publish(const uint8_t* pixels, int width, int height) {
  const size_t size = width > 0 && height > 0 ? static_cast<size_t>(width) * height : 0;
  std::lock_guard lock(mutex_);
  pixels_.resize(size);
  if (size != 0) std::memcpy(pixels_.data(), pixels, size);
  width_ = size != 0 ? width : 0;
  height_ = size != 0 ? height : 0;
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

uint64_t FrameExchange::Serial() const {
  std::lock_guard lock(mutex_);
  return serial_;
}

}  // namespace fluxo::gdi

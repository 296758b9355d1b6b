#pragma once
#include <cstdint>

namespace fluxo {

// Pointer positions travel in lParam as on the platform: x in the low 16
// bits, y in the high 16 bits, each a signed 16-bit value.
constexpr intptr_t PackMousePosition(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16));
}
constexpr int MouseX(intptr_t lParam) { return static_cast<int16_t>(static_cast<uint32_t>(lParam) & 0xFFFFu); }
constexpr int MouseY(intptr_t lParam) { return static_cast<int16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFFu); }

// The default procedure's movement threshold: a pointer that drifts a few
// pixels (a nudged desk) does not end the saver.
class MouseMoveThreshold {
 public:
  static constexpr int kPixels = 4;
  // True once (x, y) lies more than kPixels from the first position seen.
  bool MovedTooFar(int x, int y) {
    if (!seen_) {
      seen_ = true;
      x0_ = x;
      y0_ = y;
      return false;
    }
    const int64_t dx = x - x0_;
    const int64_t dy = y - y0_;
    return dx * dx + dy * dy > int64_t{kPixels} * kPixels;
  }

 private:
  bool seen_ = false;
  int x0_ = 0;
  int y0_ = 0;
};

}  // namespace fluxo

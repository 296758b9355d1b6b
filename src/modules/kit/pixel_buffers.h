#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace fluxo::kit {

// More than any real surface needs; a larger request is treated as a failed
// allocation instead of being tried.
constexpr size_t kMaxPixelBufferBytes = size_t{1} << 30;

// Replaces `buffer` by `count` zero-filled elements. False, with the buffer
// left empty, when the memory cannot be had.
template <typename T>
bool AllocateZeroed(std::vector<T>& buffer, int64_t count) {
  std::vector<T>().swap(buffer);
  if (count < 0 || static_cast<uint64_t>(count) > kMaxPixelBufferBytes / sizeof(T)) return false;
  try {
    buffer.assign(static_cast<size_t>(count), T{});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// What a pixel-buffer module says when its buffers cannot be had.
void ReportBufferFailure();

// The random helpers the pixel modules draw with: rand mod m (C remainder,
// 0 for m = 0, the number is drawn all the same) and rand / 32767.
int RandMod(int m);
float RandUnit();

}  // namespace fluxo::kit

#pragma once
#include <cstdint>

namespace fluxo {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the platform's tick count.
uint32_t GetTickCount();

// Deadlines are compared wrap-safely: true when `now` lies after `deadline`.
inline bool TickIsPast(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) > 0;
}

// Tests replace the clock to drive timeouts; nullptr restores the real one.
using TickSource = uint32_t (*)();
void SetTickSourceForTesting(TickSource source);

}  // namespace fluxo

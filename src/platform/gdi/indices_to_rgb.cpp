#include "platform/gdi/frame_exchange.h"

namespace fluxo::gdi {

void IndicesToRgb(const uint8_t* __restrict indices, size_t count, const uint32_t (&table)[256],
                  uint32_t* __restrict out) {
  // Plain table lookups, eight per round so loads and stores overlap.
  const uint32_t* lookup = table;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const uint32_t a = lookup[indices[i]], b = lookup[indices[i + 1]];
    const uint32_t c = lookup[indices[i + 2]], d = lookup[indices[i + 3]];
    const uint32_t e = lookup[indices[i + 4]], f = lookup[indices[i + 5]];
    const uint32_t g = lookup[indices[i + 6]], h = lookup[indices[i + 7]];
    out[i] = a, out[i + 1] = b, out[i + 2] = c, out[i + 3] = d;
    out[i + 4] = e, out[i + 5] = f, out[i + 6] = g, out[i + 7] = h;
  }
  for (; i < count; ++i) out[i] = lookup[indices[i]];
}

}  // namespace fluxo::gdi

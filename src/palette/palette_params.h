#pragma once
#include <cstdint>

#include "palette/palette_engine.h"

namespace fluxo {

// A table index by the truncating remainder of normal play; a negative
// operand (a negative Density from a sound source, a wrapped position) wraps
// into the table instead of reading before it.
inline int WrapIndex(int64_t x, int size) {
  int r = static_cast<int>(x % size);
  return r < 0 ? r + size : r;
}

// Parameter `param` of a channel evaluated from its source (Oscillate or sound):
// stores the truncated result in `value` and returns it.
int32_t EvaluatePaletteParam(PaletteState& state, int param, int channel);

// The working value during play: re-evaluated when the source is Oscillate, or
// a sound source while palette sound is live this tick; otherwise `value`.
int32_t LivePaletteParam(PaletteState& state, int param, int channel);

}  // namespace fluxo

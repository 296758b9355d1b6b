#pragma once
#include "platform/system/random.h"

namespace fluxo::kit {

// A draw of the runtime generator reduced to 0..n-1. Where a surface or tile
// leaves nothing to choose from (n <= 0) the result is 0 instead of a division
// by zero; the draw is made either way, so later draws stay in step.
inline int RandomBelow(int n) {
  const int r = Rand();
  return n > 0 ? r % n : 0;
}

}  // namespace fluxo::kit

#include "modules/kit/pixel_buffers.h"

#include <cstdio>

#include "platform/system/random.h"

namespace fluxo::kit {

void ReportBufferFailure() { std::fputs("Could not allocate buffers\n", stderr); }

int RandMod(int m) {
  const int r = Rand();
  return m == 0 ? 0 : r % m;
}

float RandUnit() { return static_cast<float>(Rand()) / static_cast<float>(kRandMax); }

}  // namespace fluxo::kit

#include "palette/palette_engine.h"
#include "platform/system/random.h"

namespace fluxo {

// Each channel walks from a random start by its own step and bounces off 0
// and 255 independently of the others.
void SeedPaletteColours(PaletteEntry* entries, int redStep, int greenStep, int blueStep) {
  int level[3] = {Rand() & 255, Rand() & 255, Rand() & 255};
  int step[3] = {redStep, greenStep, blueStep};
  for (int i = 0; i < kPaletteEntries; ++i) {
    for (int c = 0; c < 3; ++c) {
      int moved = level[c] + step[c];
      if (moved < 0 || moved > 255)
        step[c] = -step[c];
      else
        level[c] = moved;
    }
    entries[i] = {static_cast<uint8_t>(level[0]), static_cast<uint8_t>(level[1]), static_cast<uint8_t>(level[2]), 1};
  }
}

}  // namespace fluxo

#pragma once
#include <cstdint>

#include "modules/builtin_modules.h"

namespace fluxo {

extern const ModuleOperations kPlasmaOperations;

namespace plasma {

// A cloud buffer: bottom-up rows `stride` bytes apart, pixels (0..maxX, 0..maxY);
// a pixel of 0 is not computed yet.
struct CloudView {
  uint8_t* pixels = nullptr;
  int stride = 0;
  int maxX = 0;
  int maxY = 0;
  uint8_t& At(int x, int y) const { return pixels[y * stride + x]; }
};

// The side of the square at the top-left corner of the shown tile (the last
// buffer rows, the first columns) that is complete.
int Progress(const CloudView& cloud);

// Applies post-processing effect `number` to a finished cloud; 0 draws one at random.
void ApplyEffect(const CloudView& cloud, int number);

}  // namespace plasma
}  // namespace fluxo

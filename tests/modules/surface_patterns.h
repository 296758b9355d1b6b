#pragma once
#include <cstdint>

#include "platform/gdi/frame_surface.h"

namespace fluxo::test {

// A pattern with no symmetry at all: every pixel of a tile has its own value.
inline uint8_t AsymmetricValue(int x, int y) { return static_cast<uint8_t>(10 + (x * 7 + y * 31) % 236); }

inline void PaintAsymmetricTile(gdi::FrameSurface& surface, int left, int top, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      surface.MutablePixels()[(top + y) * surface.Width() + left + x] = AsymmetricValue(x, y);
}

}  // namespace fluxo::test

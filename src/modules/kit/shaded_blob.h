#pragma once
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// The element a shaded blob is built from, by style mod 32.
enum BlobStyle : int {
  kBlobDiscs = 0,            // 0..7: concentric shrinking discs, a shaded sphere
  kBlobSquares = 8,          // 8..15: concentric shrinking squares
  kBlobVerticalBars = 16,    // 16..23: bars 4 wide every 3 pixels, stepping right
  kBlobHorizontalBars = 24,  // 24..31: the same stepping down
};

// Draws a blob of `size` pixels centred at (x, y) out of size / 2 filled
// elements without outline, in palette colours start, start + 1, ... (mod 236),
// each over the one before, so discs and squares are brightest in the middle.
// Sizes below 2 draw nothing. The pen and brush are left as they were.
void DrawShadedBlob(gdi::FrameSurface& surface, int x, int y, int startColour, int size, int style);

}  // namespace fluxo::kit

#include "modules/kit/shaded_blob.h"

namespace fluxo::kit {

void DrawShadedBlob(gdi::FrameSurface& surface, int x, int y, int startColour, int size, int style) {
  const int r = size / 2;
  if (r <= 0) return;
  const gdi::Pen previousPen = surface.SelectPen(gdi::Pen::Null());
  const gdi::Brush previousBrush = surface.CurrentBrush();
  // Colours run forward from any start; a negative start is taken mod 236 too.
  const int start = ((startColour % gdi::kAnimatedEntries) + gdi::kAnimatedEntries) % gdi::kAnimatedEntries;
  const int kind = (style & 31) & ~7;
  for (int i = 0; i < r; ++i) {
    const int k = r - 1 - i;
    surface.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex((start + i) % gdi::kAnimatedEntries)));
    switch (kind) {
      case kBlobDiscs:
        surface.Ellipse(x - k, y - k, x + k, y + k);
        break;
      case kBlobSquares:
        surface.Rectangle(x - k, y - k, x + k, y + k);
        break;
      case kBlobVerticalBars:
        surface.Rectangle(x + 3 * i - r, y - r, x + 3 * i - r + 4, y + r);
        break;
      default:
        surface.Rectangle(x - r, y + 3 * i - r, x + r, y + 3 * i - r + 4);
        break;
    }
  }
  surface.SelectBrush(previousBrush);
  surface.SelectPen(previousPen);
}

}  // namespace fluxo::kit

#include "platform/gdi/colour_match.h"

#include <algorithm>

namespace fluxo::gdi {

int ColourDistance(uint32_t a, uint32_t b) {
  const int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
  const int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
  const int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
  return dr * dr + dg * dg + db * db;
}

uint8_t NearestFixedPixel(ColorRef rgb) {
  // A colour reference stores red in the low byte; the table stores it high.
  const uint32_t wanted = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
  int best = 0;
  int bestDistance = ColourDistance(wanted, PaletteTable::FixedColour(0));
  for (int pixel = 1; pixel < kSystemPaletteSize; ++pixel) {
    if (pixel == kFirstAnimatedPixel) pixel += kAnimatedEntries;
    const int distance = ColourDistance(wanted, PaletteTable::FixedColour(pixel));
    if (distance < bestDistance) {
      best = pixel;
      bestDistance = distance;
    }
  }
  return static_cast<uint8_t>(best);
}

uint8_t ResolveColour(ColorRef color) {
  if ((color >> 24) == 0x01) {
    // Indices past the logical palette fall back to its last entry.
    const int index = std::min<int>(color & 0xFFFF, kAnimatedEntries - 1);
    return PixelOfEntry(index);
  }
  return NearestFixedPixel(color & 0xFFFFFF);
}

int NearestAnimatedEntry(const PaletteTable& palette, uint32_t argb) {
  int best = 0;
  int bestDistance = ColourDistance(argb, palette.Entry(kFirstAnimatedPixel));
  for (int entry = 1; entry < kAnimatedEntries && bestDistance > 0; ++entry) {
    const int distance = ColourDistance(argb, palette.Entry(PixelOfEntry(entry)));
    if (distance < bestDistance) {
      best = entry;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace fluxo::gdi

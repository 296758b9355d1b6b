#include "platform/gdi/palette_table.h"

#include <algorithm>
#include <cmath>

namespace fluxo::gdi {
namespace {

constexpr uint32_t Argb(uint32_t rgb) { return 0xFF000000u | rgb; }

// The 20 fixed colours of the platform's default palette: slots 0..9 first,
// then slots 246..255.
constexpr uint32_t kLowFixed[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                    0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
constexpr uint32_t kHighFixed[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                     0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

}  // namespace

uint32_t PaletteTable::FixedColour(int pixel) {
  if (pixel >= 0 && pixel < kFirstAnimatedPixel) return Argb(kLowFixed[pixel]);
  const int high = pixel - (kFirstAnimatedPixel + kAnimatedEntries);
  if (high >= 0 && high < 10) return Argb(kHighFixed[high]);
  return Argb(0);
}

PaletteTable::PaletteTable() {
  for (int pixel = 0; pixel < kSystemPaletteSize; ++pixel) {
    const int entry = pixel - kFirstAnimatedPixel;
    uint32_t argb = FixedColour(pixel);
    if (entry >= 0 && entry < kAnimatedEntries) {
      // A grey ramp until the palette engine writes the animated entries.
      const auto grey = static_cast<uint32_t>(std::lround(entry * 255.0 / (kAnimatedEntries - 1)));
      argb = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
    }
    entries_[pixel].store(argb, std::memory_order_relaxed);
  }
}

void PaletteTable::AnimateEntries(int first, int count, const uint8_t* rgbTriples) {
  // Entries outside 0..235 do not exist; the part inside is still written.
  const int begin = std::max(first, 0);
  const int end = std::min(first + std::max(count, 0), kAnimatedEntries);
  for (int entry = begin; entry < end; ++entry) {
    const uint8_t* rgb = rgbTriples + 3 * (entry - first);
    const uint32_t argb = 0xFF000000u | (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
    entries_[PixelOfEntry(entry)].store(argb, std::memory_order_relaxed);
  }
}

void PaletteTable::CopyTo(uint32_t (&out)[kSystemPaletteSize]) const {
  for (int pixel = 0; pixel < kSystemPaletteSize; ++pixel) out[pixel] = Entry(pixel);
}

}  // namespace fluxo::gdi

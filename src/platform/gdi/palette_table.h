#pragma once
#include <array>
#include <atomic>
#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

// The 256-entry system palette of the emulated display as 0xFFRRGGBB values.
// The palette thread rewrites the animated entries while the presenter reads
// them; each entry is one atomic word, so a tick recolours the next present.
class PaletteTable {
 public:
  PaletteTable();  // the 20 fixed colours and a grey ramp in the animated entries

  // Logical entries first..first+count-1 (0..235) from (r, g, b) triples.
  void AnimateEntries(int first, int count, const uint8_t* rgbTriples);
  void SetEntry(int pixel, uint32_t argb) { entries_[pixel].store(argb, std::memory_order_relaxed); }
  uint32_t Entry(int pixel) const { return entries_[pixel].load(std::memory_order_relaxed); }
  void CopyTo(uint32_t (&out)[kSystemPaletteSize]) const;

  // The fixed colour of a system slot 0..9 or 246..255.
  static uint32_t FixedColour(int pixel);

 private:
  std::array<std::atomic<uint32_t>, kSystemPaletteSize> entries_;
};

}  // namespace fluxo::gdi

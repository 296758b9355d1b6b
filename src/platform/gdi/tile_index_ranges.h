#pragma once
#include <cstdint>
#include <vector>

#include "platform/gdi/changed_tiles.h"
#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

// The smallest and the largest palette index in each tile of a frame. A
// palette tick that changes no colour within a tile's range leaves that
// tile's picture as it was, so a background of a fixed colour is not
// converted and sent again at every tick.
class TileIndexRanges {
 public:
  // Takes note of the tiles marked in `changed`, the changes of a frame of
  // their size: their ranges are measured again when next needed. A frame
  // of another size forgets every range.
  void Follow(const ChangedTiles& changed);
  // Marks in `tiles` each tile whose range holds an entry flagged in
  // `changedEntries`; `pixels` is the frame the followed changes lead to,
  // of the tiles' size, and the tiles followed since are measured first.
  void MarkAffected(const uint8_t* pixels, const bool (&changedEntries)[kSystemPaletteSize], ChangedTiles& tiles);

 private:
  void Measure(const uint8_t* pixels, int column, int band);

  int width_ = 0;
  int height_ = 0;
  int columns_ = 0;
  std::vector<uint8_t> lowest_;
  std::vector<uint8_t> highest_;
  std::vector<uint8_t> stale_;  // changed since measured
};

}  // namespace fluxo::gdi

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
  // Brings the tiles marked in `tiles` up to date from `pixels`, a frame of
  // the tiles' size; every tile after a change of size.
  void Update(const uint8_t* pixels, const ChangedTiles& tiles);
  // Forgets every range: until the next Update, every tile counts as affected.
  void Invalidate() { width_ = height_ = 0; }
  // Marks in `tiles` each tile of a frame of their size whose range holds an
  // entry flagged in `changedEntries`; every tile when the ranges are not
  // those of that size.
  void MarkAffected(const bool (&changedEntries)[kSystemPaletteSize], ChangedTiles& tiles) const;

 private:
  void Measure(const uint8_t* pixels, int column, int band);

  int width_ = 0;
  int height_ = 0;
  int columns_ = 0;
  std::vector<uint8_t> lowest_;
  std::vector<uint8_t> highest_;
};

}  // namespace fluxo::gdi

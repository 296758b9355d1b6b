#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

// The parts of a frame that changed: the frame cut into tiles (smaller at
// the right and bottom edges), one flag per tile. A pass of a module touches
// few tiles, so presenting only those saves most of the conversion and the
// transfer to the display.
class ChangedTiles {
 public:
  // Small enough to follow thin strokes, large enough to be cheap to compare.
  static constexpr int kTileWidth = 32;
  static constexpr int kTileHeight = 16;

  // A frame of this size with no tile changed, or every tile.
  void Reset(int width, int height, bool changed);
  // Marks the tile holding pixel (x, y), which lies in the frame.
  void Mark(int x, int y) { MarkTile(x / kTileWidth, y / kTileHeight); }
  // Marks the tiles of row y from x0 up to x1 (exclusive), which lie in the frame.
  void MarkSpan(int y, int x0, int x1) {
    uint8_t* band = flags_.data() + static_cast<size_t>(y / kTileHeight) * columns_;
    for (int column = x0 / kTileWidth, last = (x1 - 1) / kTileWidth; column <= last; ++column) band[column] = 1;
    any_ = true;
  }
  // Marks the tile in `column` of `band`.
  void MarkTile(int column, int band) {
    flags_[static_cast<size_t>(band) * columns_ + column] = 1;
    any_ = true;
  }
  // Whether the tile in `column` of `band` is marked.
  bool Marked(int column, int band) const { return flags_[static_cast<size_t>(band) * columns_ + column] != 0; }
  int Columns() const { return columns_; }
  int Bands() const { return columns_ > 0 ? static_cast<int>(flags_.size()) / columns_ : 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Any() const { return any_; }
  // The changed tiles as rectangles within the frame, band by band from the
  // top and left to right, neighbours within a band joined into one, and a
  // band's rectangles joined to those right above when they span the same.
  std::vector<Rect> Rects() const;

 private:
  int width_ = 0;
  int height_ = 0;
  int columns_ = 0;
  std::vector<uint8_t> flags_;
  bool any_ = false;
};

}  // namespace fluxo::gdi

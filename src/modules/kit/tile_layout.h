#pragma once
#include <algorithm>

#include "platform/gdi/gdi_types.h"

namespace fluxo::kit {

// Tile type 0 and 3 select every tile, 1 a checkerboard of odd column + row,
// 2 the even ones.
bool TileSelected(int column, int row, int tileType);

// The surface cut into columns x rows tiles (integer division of its size).
struct TileLayout {
  int columns = 1;
  int rows = 1;
  int tileWidth = 0;
  int tileHeight = 0;
  int tileType = 0;

  // Counts below one would divide by zero; they are taken as one.
  static TileLayout ForSurface(int width, int height, int columns, int rows, int tileType) {
    TileLayout layout;
    layout.columns = std::max(1, columns);
    layout.rows = std::max(1, rows);
    layout.tileWidth = width / layout.columns;
    layout.tileHeight = height / layout.rows;
    layout.tileType = tileType;
    return layout;
  }

  bool Selected(int column, int row) const { return TileSelected(column, row, tileType); }
  gdi::Point Origin(int column, int row) const { return {column * tileWidth, row * tileHeight}; }
  // A surface coordinate shrunk into the first tile.
  gdi::Point Scale(gdi::Point p) const { return {p.x / columns, p.y / rows}; }

  // The order the vector modules visit tiles in: columns outer, rows inner.
  template <typename Visit>
  void ForEachSelectedCell(Visit&& visit) const {
    for (int column = 0; column < columns; ++column)
      for (int row = 0; row < rows; ++row)
        if (Selected(column, row)) visit(column, row);
  }
  template <typename Visit>
  void ForEachSelectedTile(Visit&& visit) const {
    ForEachSelectedCell([&](int column, int row) { visit(Origin(column, row)); });
  }
};

}  // namespace fluxo::kit

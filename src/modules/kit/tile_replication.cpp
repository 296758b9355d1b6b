#include "modules/kit/tile_replication.h"

namespace fluxo::kit {
namespace {

// A horizontal strip of the master, copied as is or left-right mirrored.
void CopyRow(gdi::FrameSurface& surface, int x, int y, int width, int sourceX, int sourceY, bool mirrored) {
  if (mirrored)
    surface.StretchBlt(x + width - 1, y, -width, 1, sourceX, sourceY, width, 1);
  else
    surface.BitBlt(x, y, width, 1, sourceX, sourceY);
}

// A vertical strip of the master, copied as is or top-bottom mirrored.
void CopyColumn(gdi::FrameSurface& surface, int x, int y, int height, int sourceX, int sourceY, bool mirrored) {
  if (mirrored)
    surface.StretchBlt(x, y + height - 1, 1, -height, sourceX, sourceY, 1, height);
  else
    surface.BitBlt(x, y, 1, height, sourceX, sourceY);
}

}  // namespace

void ReplicateRing(gdi::FrameSurface& surface, const TileLayout& layout, int ringWidth, int ringHeight,
                   const RingRect& ring, const RingRect& ringAtOrigin) {
  bool firstSelected = true;
  for (int row = 0; row < layout.rows; ++row) {
    for (int column = 0; column < layout.columns; ++column) {
      if (!layout.Selected(column, row)) continue;
      if (firstSelected) {
        firstSelected = false;
        // The first selected tile holds the master itself.
        if (ring.left != 0) continue;
      }
      const int x = ringAtOrigin.left + column * layout.tileWidth;
      const int y = ringAtOrigin.top + row * layout.tileHeight;
      const int bottomY = y + ringAtOrigin.bottom - ringAtOrigin.top;
      const int rightX = x + ringAtOrigin.right - ringAtOrigin.left;
      const bool oddColumn = column % 2 == 1;
      const bool oddRow = row % 2 == 1;
      // Odd rows swap top and bottom, odd columns swap left and right.
      const int topSource = oddRow ? ring.bottom : ring.top;
      const int bottomSource = oddRow ? ring.top : ring.bottom;
      const int leftSource = oddColumn ? ring.right : ring.left;
      const int rightSource = oddColumn ? ring.left : ring.right;
      CopyRow(surface, x, y, ringWidth, ring.left, topSource, oddColumn);
      CopyRow(surface, x, bottomY, ringWidth, ring.left, bottomSource, oddColumn);
      CopyColumn(surface, x, y, ringHeight, leftSource, ring.top, oddRow);
      CopyColumn(surface, rightX, y, ringHeight, rightSource, ring.top, oddRow);
    }
  }
}

void ReplicateTile(gdi::FrameSurface& surface, const TileLayout& layout) {
  const int w = layout.tileWidth;
  const int h = layout.tileHeight;
  const int masterX = layout.tileType == 1 ? w : 0;
  bool skipFirst = layout.tileType == 1;
  for (int row = 0; row < layout.rows; ++row) {
    for (int column = 0; column < layout.columns; ++column) {
      if (!layout.Selected(column, row)) continue;
      if (skipFirst) {
        skipFirst = false;
        continue;
      }
      const bool oddColumn = column % 2 == 1;
      const bool oddRow = row % 2 == 1;
      const int x = oddColumn ? column * w + w - 1 : column * w;
      const int y = oddRow ? (row + 1) * h - 1 : row * h;
      surface.StretchBlt(x, y, oddColumn ? -w : w, oddRow ? -h : h, masterX, 0, w, h);
    }
  }
}

}  // namespace fluxo::kit

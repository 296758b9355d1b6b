#pragma once
#include <cstddef>
#include <span>

#include "modules/kit/overlay_boxes.h"
#include "modules/kit/tile_layout.h"
#include "platform/gdi/frame_surface.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/region.h"

namespace fluxo::kit {

// Draws a figure once per selected tile, shrunk into the tile: every point is
// scaled by the tile counts and moved to the tile's origin. `scratch` holds at
// least as many points as the figure; `draw` receives the tile's copy.
template <typename Draw>
void DrawInTiles(const TileLayout& layout, std::span<const gdi::Point> points, std::span<gdi::Point> scratch,
                 Draw&& draw) {
  const std::span<gdi::Point> copy = scratch.first(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) copy[i] = layout.Scale(points[i]);
  layout.ForEachSelectedTile([&](gdi::Point origin) {
    for (gdi::Point& p : copy) p = {p.x + origin.x, p.y + origin.y};
    draw(std::span<const gdi::Point>(copy));
    for (gdi::Point& p : copy) p = {p.x - origin.x, p.y - origin.y};
  });
}

// Where a point of the shrunk figure lies in the tile at (column, row): tiles
// in odd columns are left-right mirror images, tiles in odd rows top-bottom
// mirror images of tile (0, 0), so neighbouring tiles join as reflections.
inline gdi::Point PlaceInMirroredTile(const TileLayout& layout, gdi::Point scaled, int column, int row) {
  const gdi::Point origin = layout.Origin(column, row);
  const int x = column % 2 == 1 ? layout.tileWidth - scaled.x : scaled.x;
  const int y = row % 2 == 1 ? layout.tileHeight - scaled.y : scaled.y;
  return {origin.x + x, origin.y + y};
}

// Calls `draw(column, row)` once for every selected tile, with the clip
// region restricted to that tile and the visible overlay boxes kept free;
// afterwards the clip region is removed and the boxes are excluded again.
// Tiles never overlap, so whatever a tile shows may be drawn in one visit.
template <typename Draw>
void ForEachClippedTile(gdi::FrameSurface& surface, const TileLayout& layout, Draw&& draw) {
  layout.ForEachSelectedCell([&](int column, int row) {
    const gdi::Point origin = layout.Origin(column, row);
    const gdi::Region tile =
        gdi::Region::FromRect({origin.x, origin.y, origin.x + layout.tileWidth, origin.y + layout.tileHeight});
    surface.SelectClipRegion(&tile);
    ExcludeOverlayBoxes(surface);
    draw(column, row);
    surface.SelectClipRegion(nullptr);
  });
  ExcludeOverlayBoxes(surface);
}

// The figure shrunk into the tile at (column, row), mirrored as
// PlaceInMirroredTile says; `out` holds as many points as the figure.
inline void PlaceFigureInMirroredTile(const TileLayout& layout, std::span<const gdi::Point> points, int column, int row,
                                      std::span<gdi::Point> out) {
  for (std::size_t i = 0; i < points.size(); ++i)
    out[i] = PlaceInMirroredTile(layout, layout.Scale(points[i]), column, row);
}

// Draws a figure shrunk into every selected tile as DrawInTiles does, but
// mirrored in odd columns and rows and clipped to its tile (ForEachClippedTile).
template <typename Draw>
void DrawInMirroredTiles(gdi::FrameSurface& surface, const TileLayout& layout, std::span<const gdi::Point> points,
                         std::span<gdi::Point> scratch, Draw&& draw) {
  const std::span<gdi::Point> copy = scratch.first(points.size());
  ForEachClippedTile(surface, layout, [&](int column, int row) {
    PlaceFigureInMirroredTile(layout, points, column, row, copy);
    draw(std::span<const gdi::Point>(copy));
  });
}

}  // namespace fluxo::kit

#pragma once
#include <cstddef>
#include <span>

#include "modules/kit/tile_layout.h"
#include "platform/gdi/gdi_types.h"

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

}  // namespace fluxo::kit

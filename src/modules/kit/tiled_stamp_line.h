#pragma once
#include "modules/kit/shape_stamp.h"
#include "modules/kit/tile_layout.h"

namespace fluxo::kit {

// Stamps the line from `from` to `to` (walked from `to`, see StampLine) once
// into every selected tile, shrunk into the tile: the end points are scaled by
// the tile counts and the stamp sizes divided by their mean (halved sum).
void StampLineInTiles(const TileLayout& layout, const ShapeStamp& stamp, gdi::Point from, gdi::Point to);

}  // namespace fluxo::kit

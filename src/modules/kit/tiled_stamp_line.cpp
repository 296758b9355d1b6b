#include "modules/kit/tiled_stamp_line.h"

#include <algorithm>

namespace fluxo::kit {

void StampLineInTiles(const TileLayout& layout, const ShapeStamp& stamp, gdi::Point from, gdi::Point to) {
  ShapeStamp shrunk = stamp;
  const float divisor = static_cast<float>(std::max(1, (layout.columns + layout.rows) / 2));
  for (float& size : shrunk.size) size /= divisor;
  const gdi::Point scaledFrom = layout.Scale(from);
  const gdi::Point scaledTo = layout.Scale(to);
  layout.ForEachSelectedTile([&](gdi::Point origin) {
    StampLine(scaledFrom.x + origin.x, scaledFrom.y + origin.y, scaledTo.x + origin.x, scaledTo.y + origin.y, shrunk);
  });
}

}  // namespace fluxo::kit

#include "modules/kit/ring_sequence.h"

namespace fluxo::kit {

bool MoveIntoMasterTile(const TileLayout& layout, RingRect& ring) {
  if (layout.Selected(0, 0)) return true;
  if (layout.columns > 1) {
    ring.left += layout.tileWidth;
    ring.right += layout.tileWidth;
    return true;
  }
  if (layout.rows > 1) {
    ring.top += layout.tileHeight;
    ring.bottom += layout.tileHeight;
    return true;
  }
  return false;
}

}  // namespace fluxo::kit

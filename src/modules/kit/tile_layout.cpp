#include "modules/kit/tile_layout.h"

namespace fluxo::kit {

bool TileSelected(int column, int row, int tileType) {
  switch (tileType) {
    case 1:
      return (column + row) % 2 == 1;
    case 2:
      return (column + row) % 2 == 0;
    default:
      return true;
  }
}

}  // namespace fluxo::kit

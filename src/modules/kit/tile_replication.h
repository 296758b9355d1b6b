#pragma once
#include "modules/kit/tile_layout.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// A one-pixel rectangular frame; right and bottom are its last column and row.
struct RingRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Copies one ring of the master tile into every other selected tile, mirrored
// so that tiles in odd columns are left-right images and tiles in odd rows
// top-bottom images of the master. `ring` lies in the master, `ringAtOrigin`
// is the same ring as it would lie in tile (0, 0). Tiles go row by row.
void ReplicateRing(gdi::FrameSurface& surface, const TileLayout& layout, int ringWidth, int ringHeight,
                   const RingRect& ring, const RingRect& ringAtOrigin);

// Copies the whole master tile into every selected tile with the same
// mirroring. The master is tile (1, 0) for tile type 1 and tile (0, 0) otherwise.
void ReplicateTile(gdi::FrameSurface& surface, const TileLayout& layout);

}  // namespace fluxo::kit

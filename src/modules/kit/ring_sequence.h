#pragma once
#include "modules/kit/tile_layout.h"
#include "modules/kit/tile_replication.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

inline bool RingEmpty(const RingRect& r) { return r.left > r.right || r.top > r.bottom; }

// Moves every side `by` pixels outward (inward when negative).
inline void GrowRing(RingRect& r, int by) {
  r.left -= by;
  r.top -= by;
  r.right += by;
  r.bottom += by;
}

// Moves a ring of tile (0, 0) into the master tile of the ring-drawing
// modules: tile (0, 0) when the tile type selects it, else the next tile to
// the right, else the next tile down. False when there is no other tile.
bool MoveIntoMasterTile(const TileLayout& layout, RingRect& ring);

// Draws `ring` of the master tile with `draw` and copies it into the other
// selected tiles when there are any.
template <typename Draw>
void DrawReplicatedRing(gdi::FrameSurface& surface, const TileLayout& layout, const RingRect& ring,
                        const RingRect& ringAtOrigin, Draw&& draw) {
  draw(ring);
  if (layout.columns + layout.rows > 2)
    ReplicateRing(surface, layout, ring.right - ring.left + 1, ring.bottom - ring.top + 1, ring, ringAtOrigin);
}

// Rings from the tile's edge inward, three a frame (Pattern, Ray). The ring
// lives in surface coordinates and is shrunk by three tiling steps a frame,
// so that divided by the tiling it moves three pixels inward in every tile.
class InwardRings {
 public:
  static constexpr int kRingsPerFrame = 3;

  void Restart(int surfaceWidth, int surfaceHeight) { rect_ = {0, 0, surfaceWidth - 1, surfaceHeight - 1}; }

  // Draws this frame's rings; false when the picture is complete (the ring
  // ran empty before the third).
  template <typename Draw>
  bool DrawFrame(gdi::FrameSurface& surface, const TileLayout& layout, Draw&& draw) {
    RingRect ring{rect_.left / layout.columns, rect_.top / layout.rows, rect_.right / layout.columns,
                  rect_.bottom / layout.rows};
    RingRect atOrigin = ring;
    if (!MoveIntoMasterTile(layout, ring)) ring.left = ring.right + 1;
    rect_.left += kRingsPerFrame * layout.columns;
    rect_.top += kRingsPerFrame * layout.rows;
    rect_.right -= kRingsPerFrame * layout.columns;
    rect_.bottom -= kRingsPerFrame * layout.rows;
    for (int i = 0; i < kRingsPerFrame; ++i) {
      if (RingEmpty(ring)) return false;
      DrawReplicatedRing(surface, layout, ring, atOrigin, draw);
      GrowRing(ring, -1);
      GrowRing(atOrigin, -1);
    }
    return true;
  }

 private:
  RingRect rect_;
};

}  // namespace fluxo::kit

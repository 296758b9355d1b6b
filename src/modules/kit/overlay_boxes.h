#pragma once
#include <cstdint>

#include "platform/gdi/frame_surface.h"

namespace fluxo {

// The information boxes over the animation, in exclusion order: track
// information, display name, slogan. The overlay on the render thread places
// and hides them; modules that replace the clip region keep them free.
enum OverlayBox { kTrackInfoBox, kDisplayNameBox, kSloganBox, kOverlayBoxCount };

struct OverlayBoxState {
  gdi::Rect rect;
  uint32_t hideTime = 0xFFFFFFFFu;  // all-ones: the box is not shown
};

OverlayBoxState* OverlayBoxes();  // kOverlayBoxCount entries
void ResetOverlayBoxes();

// Excludes the rectangle of every visible box from the surface's clip region.
void ExcludeOverlayBoxes(gdi::FrameSurface& surface);

}  // namespace fluxo

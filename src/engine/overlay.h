#pragma once
#include "platform/gdi/frame_surface.h"

namespace fluxo {

// The information boxes over the animation (track information, display name,
// slogan). Until the boxes exist these show nothing and exclude no area.
void StartOverlay();
void DrawOverlayBoxes(gdi::FrameSurface& surface);

}  // namespace fluxo

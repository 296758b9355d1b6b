#pragma once
#include <string_view>

#include "platform/gdi/frame_surface.h"

namespace fluxo {

// The information boxes over the animation: the companion's track
// information (bottom left), the name of the display now playing (top centre)
// and the slogan (bottom right, once per run). Only the render thread draws them.

// Starts the overlay of a new run: every box hidden, the slogan read from the
// settings ("Slogan"; none when the value is missing).
void StartOverlay();

// The start of every pass: the track-information, display-name and slogan
// boxes, in this order. Each shows, keeps or erases its box and leaves the
// visible boxes excluded from the surface's clip region.
void DrawOverlayBoxes(gdi::FrameSurface& surface);
void UpdateInfoBox(gdi::FrameSurface& surface);
void UpdateNameBox(gdi::FrameSurface& surface);
void UpdateSloganBox(gdi::FrameSurface& surface);

// Paints one framed box with its text centred, then excludes the visible boxes.
void DrawOverlayBox(gdi::FrameSurface& surface, const gdi::Rect& rect, std::string_view text);

}  // namespace fluxo

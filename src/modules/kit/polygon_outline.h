#pragma once
#include <span>

#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// The outline of a polygon under the hollow brush. With a thin pen it is the
// closed polyline through the vertices, pixel for pixel; drawn that way the
// device paints segment by segment instead of building the region a polygon
// needs, which is most of the cost of large outlines. Wide pens keep the
// polygon, whose corners are joined.
void DrawPolygonOutline(gdi::FrameSurface& surface, std::span<const gdi::Point> vertices);

}  // namespace fluxo::kit

#pragma once
#include <vector>

#include "platform/gdi/region.h"

namespace fluxo::gdi {

struct PointF {
  double x = 0;
  double y = 0;
};

// Appends the pixels covered by a pen of `width` (> 1) moved along a path:
// every pixel whose centre lies within width / 2 of the path, which gives
// round ends and round joins. An even width is centred half a pixel up and
// left, so a pen of width w covers w pixels across. Spans may overlap; turn
// them into a Region to paint each pixel once.
void AppendStrokeSpans(const std::vector<PointF>& path, bool closed, int width, const Rect& window,
                       std::vector<Region::Span>& out);

// The path of a wide-pen ellipse outline: the ellipse through the centres of
// the outermost pixels of `box`, as a closed polygon.
std::vector<PointF> EllipsePath(const Rect& box);

}  // namespace fluxo::gdi

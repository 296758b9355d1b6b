#pragma once
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

// Flattens a chain of cubic Bézier curves (3k + 1 control points, k >= 1) into
// a polyline. Each curve gets enough segments to stay within about a quarter
// pixel of the true curve; its end points are exact. Returns an empty polyline
// when the count is not of the form 3k + 1.
std::vector<Point> FlattenBezier(const Point* points, int count);

}  // namespace fluxo::gdi

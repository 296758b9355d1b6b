#pragma once
#include <vector>

#include "platform/gdi/region.h"

namespace fluxo::gdi {

// Appends the interior of a polygon as spans, with the platform's rule: a
// pixel is inside when its centre is, left and top edges included, right and
// bottom edges excluded. Only rows and columns inside `window` are produced.
void AppendPolygonSpans(const Point* points, int count, FillMode mode, const Rect& window,
                        std::vector<Region::Span>& out);

}  // namespace fluxo::gdi

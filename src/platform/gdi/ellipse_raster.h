#pragma once
#include <vector>

#include "platform/gdi/region.h"

namespace fluxo::gdi {

// The pixels of the ellipse inscribed in `box` (right and bottom exclusive):
// those whose centres lie inside the ellipse through the box's outer edges.
// Computed in exact integer arithmetic, so the shape is symmetric.
class EllipseRows {
 public:
  explicit EllipseRows(const Rect& box);  // box must be normalised
  // The pixels of row y as [x0, x1); false when the row has none.
  bool Row(int64_t y, int64_t& x0, int64_t& x1) const;
  const Rect& Box() const { return box_; }

 private:
  Rect box_;
  int64_t width_, height_;
};

// The filled ellipse, rows and columns limited to `window`.
void AppendEllipseSpans(const Rect& box, const Rect& window, std::vector<Region::Span>& out);
// Its one-pixel outline: the pixels of the filled ellipse that have a
// horizontal or vertical neighbour outside it.
void AppendEllipseOutlineSpans(const Rect& box, const Rect& window, std::vector<Region::Span>& out);

}  // namespace fluxo::gdi

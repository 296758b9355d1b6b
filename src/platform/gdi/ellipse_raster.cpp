#include "platform/gdi/ellipse_raster.h"

#include <algorithm>
#include <cmath>

namespace fluxo::gdi {
namespace {

using Wide = __int128;

void Emit(int64_t y, int64_t x0, int64_t x1, const Rect& window, std::vector<Region::Span>& out) {
  x0 = std::max<int64_t>(x0, window.left);
  x1 = std::min<int64_t>(x1, window.right);
  if (x0 < x1) out.push_back({static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1)});
}

Rect ClampBox(const Rect& box) {
  return {ClampCoordinate(box.left), ClampCoordinate(box.top), ClampCoordinate(box.right), ClampCoordinate(box.bottom)};
}

}  // namespace

EllipseRows::EllipseRows(const Rect& box)
    : box_(ClampBox(box)), width_(int64_t{box_.right} - box_.left), height_(int64_t{box_.bottom} - box_.top) {}

bool EllipseRows::Row(int64_t y, int64_t& x0, int64_t& x1) const {
  if (width_ <= 0 || height_ <= 0 || y < box_.top || y >= box_.bottom) return false;
  // Doubled coordinates about the centre make every quantity an integer:
  // pixel (x, y) is inside when X^2 * h^2 + Y^2 * w^2 <= w^2 * h^2, with
  // X = 2x - (left + right - 1) and Y likewise.
  const int64_t dy = 2 * y - (int64_t{box_.top} + box_.bottom - 1);
  const Wide h2 = Wide{height_} * height_;
  const Wide limit = Wide{width_} * width_ * (h2 - Wide{dy} * dy);  // X^2 * h^2 <= limit
  if (limit < 0) return false;
  auto fits = [&](int64_t dx) { return Wide{dx} * dx * h2 <= limit; };
  auto dx = static_cast<int64_t>(std::sqrt(static_cast<double>(limit) / static_cast<double>(h2)));
  while (fits(dx + 1)) ++dx;
  while (dx > 0 && !fits(dx)) --dx;
  // X has the parity of width - 1.
  if (((dx - (width_ - 1)) & 1) != 0) --dx;
  if (dx < 0) return false;
  const int64_t twiceCentre = int64_t{box_.left} + box_.right - 1;
  x0 = (twiceCentre - dx) / 2;
  x1 = (twiceCentre + dx) / 2 + 1;
  return true;
}

void AppendEllipseSpans(const Rect& box, const Rect& window, std::vector<Region::Span>& out) {
  const EllipseRows rows(box);
  const int64_t yBegin = std::max<int64_t>(rows.Box().top, window.top);
  const int64_t yEnd = std::min<int64_t>(rows.Box().bottom, window.bottom);
  for (int64_t y = yBegin; y < yEnd; ++y) {
    int64_t x0, x1;
    if (rows.Row(y, x0, x1)) Emit(y, x0, x1, window, out);
  }
}

void AppendEllipseOutlineSpans(const Rect& box, const Rect& window, std::vector<Region::Span>& out) {
  const EllipseRows rows(box);
  const int64_t yBegin = std::max<int64_t>(rows.Box().top, window.top);
  const int64_t yEnd = std::min<int64_t>(rows.Box().bottom, window.bottom);
  for (int64_t y = yBegin; y < yEnd; ++y) {
    int64_t x0, x1;
    if (!rows.Row(y, x0, x1)) continue;
    // Inner pixels have all four neighbours inside: within this row's ends
    // and within the rows above and below.
    int64_t inner0 = x0 + 1, inner1 = x1 - 1;
    for (int64_t neighbour : {y - 1, y + 1}) {
      int64_t n0, n1;
      if (!rows.Row(neighbour, n0, n1)) {
        inner1 = inner0;
        break;
      }
      inner0 = std::max(inner0, n0);
      inner1 = std::min(inner1, n1);
    }
    if (inner0 >= inner1) {
      Emit(y, x0, x1, window, out);
    } else {
      Emit(y, x0, inner0, window, out);
      Emit(y, inner1, x1, window, out);
    }
  }
}

}  // namespace fluxo::gdi

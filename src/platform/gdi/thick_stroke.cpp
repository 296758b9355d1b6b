#include "platform/gdi/thick_stroke.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fluxo::gdi {
namespace {

constexpr double kEdgeTolerance = 1e-7;

struct Interval {
  double low = 1.0;
  double high = 0.0;
  bool Empty() const { return low > high; }
  void Hull(const Interval& other) {
    if (other.Empty()) return;
    if (Empty()) {
      *this = other;
      return;
    }
    low = std::min(low, other.low);
    high = std::max(high, other.high);
  }
  void Intersect(double l, double h) {
    low = std::max(low, std::min(l, h));
    high = std::min(high, std::max(l, h));
  }
};

Interval DiscRow(const PointF& centre, double radius, double y) {
  const double dy = y - centre.y;
  const double squared = radius * radius - dy * dy;
  if (squared < -kEdgeTolerance) return {};
  const double half = std::sqrt(std::max(squared, 0.0));
  return {centre.x - half, centre.x + half};
}

// The part of row y within `radius` of the inside of segment a-b (the band
// between the perpendiculars at its ends).
Interval BandRow(const PointF& a, const PointF& b, double radius, double y) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return {};
  const double ry = y - a.y;
  Interval row{-1e18, 1e18};
  // Distance from the line: |dx * ry - dy * (x - a.x)| <= radius * length.
  const double reach = radius * length + kEdgeTolerance;
  if (dy != 0) {
    row.Intersect(a.x + (dx * ry - reach) / dy, a.x + (dx * ry + reach) / dy);
  } else if (std::abs(dx * ry) > reach) {
    return {};
  }
  // Projection onto the segment: 0 <= dx * (x - a.x) + dy * ry <= length^2.
  if (dx != 0) {
    row.Intersect(a.x - dy * ry / dx, a.x + (length * length - dy * ry) / dx);
  } else if (dy * ry < 0 || dy * ry > length * length) {
    return {};
  }
  return row;
}

void AppendSegment(const PointF& a, const PointF& b, double radius, const Rect& window,
                   std::vector<Region::Span>& out) {
  const double top = std::floor(std::min(a.y, b.y) - radius);
  const double bottom = std::ceil(std::max(a.y, b.y) + radius);
  const auto yBegin = static_cast<int64_t>(std::max<double>(top, window.top));
  const auto yEnd = static_cast<int64_t>(std::min<double>(bottom + 1, window.bottom));
  for (int64_t y = yBegin; y < yEnd; ++y) {
    const auto row = static_cast<double>(y);
    Interval covered = DiscRow(a, radius, row);
    covered.Hull(DiscRow(b, radius, row));
    covered.Hull(BandRow(a, b, radius, row));
    if (covered.Empty()) continue;
    const double x0 = std::max(std::ceil(covered.low - kEdgeTolerance), static_cast<double>(window.left));
    const double x1 = std::min(std::floor(covered.high + kEdgeTolerance) + 1, static_cast<double>(window.right));
    if (x0 < x1) out.push_back({static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1)});
  }
}

}  // namespace

void AppendStrokeSpans(const std::vector<PointF>& path, bool closed, int width, const Rect& window,
                       std::vector<Region::Span>& out) {
  if (path.empty() || window.Empty()) return;
  const double radius = width / 2.0;
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  auto at = [&](size_t i) {
    const PointF& p = path[i];
    return PointF{std::clamp<double>(p.x, -kCoordinateLimit, kCoordinateLimit) + shift,
                  std::clamp<double>(p.y, -kCoordinateLimit, kCoordinateLimit) + shift};
  };
  if (path.size() == 1) {
    AppendSegment(at(0), at(0), radius, window, out);
    return;
  }
  for (size_t i = 0; i + 1 < path.size(); ++i) AppendSegment(at(i), at(i + 1), radius, window, out);
  if (closed) AppendSegment(at(path.size() - 1), at(0), radius, window, out);
}

std::vector<PointF> EllipsePath(const Rect& box) {
  const double cx = (static_cast<double>(box.left) + box.right - 1) / 2.0;
  const double cy = (static_cast<double>(box.top) + box.bottom - 1) / 2.0;
  const double rx = std::max(0.0, (static_cast<double>(box.right) - box.left - 1) / 2.0);
  const double ry = std::max(0.0, (static_cast<double>(box.bottom) - box.top - 1) / 2.0);
  // Enough segments that the chords stay within a fraction of a pixel.
  const double perimeter = 2 * std::numbers::pi * std::max(rx, ry);
  const int segments = static_cast<int>(std::clamp(perimeter / 3.0, 16.0, 8192.0));
  std::vector<PointF> path(static_cast<size_t>(segments));
  for (int i = 0; i < segments; ++i) {
    const double angle = 2 * std::numbers::pi * i / segments;
    path[static_cast<size_t>(i)] = {cx + rx * std::cos(angle), cy + ry * std::sin(angle)};
  }
  return path;
}

}  // namespace fluxo::gdi

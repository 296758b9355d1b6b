#include "platform/gdi/bezier.h"

#include <algorithm>
#include <cmath>

namespace fluxo::gdi {
namespace {

// Wang's bound: n segments keep a cubic within `tolerance` of its chords when
// n >= sqrt(3/4 * M / tolerance), M the largest second difference.
int SegmentCount(const Point& p0, const Point& p1, const Point& p2, const Point& p3) {
  auto second = [](const Point& a, const Point& b, const Point& c) {
    return std::hypot(static_cast<double>(a.x) - 2.0 * b.x + c.x, static_cast<double>(a.y) - 2.0 * b.y + c.y);
  };
  const double m = std::max(second(p0, p1, p2), second(p1, p2, p3));
  constexpr double kTolerance = 0.25;
  return static_cast<int>(std::clamp(std::ceil(std::sqrt(0.75 * m / kTolerance)), 1.0, 4096.0));
}

}  // namespace

std::vector<Point> FlattenBezier(const Point* points, int count) {
  std::vector<Point> polyline;
  if (points == nullptr || count < 4 || (count - 1) % 3 != 0) return polyline;
  polyline.push_back(points[0]);
  for (int start = 0; start + 3 < count; start += 3) {
    const Point p0 = ClampPoint(points[start]), p1 = ClampPoint(points[start + 1]);
    const Point p2 = ClampPoint(points[start + 2]), p3 = ClampPoint(points[start + 3]);
    const int segments = SegmentCount(p0, p1, p2, p3);
    for (int i = 1; i < segments; ++i) {
      const double t = static_cast<double>(i) / segments, u = 1.0 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      polyline.push_back({static_cast<int32_t>(std::lround(a * p0.x + b * p1.x + c * p2.x + d * p3.x)),
                          static_cast<int32_t>(std::lround(a * p0.y + b * p1.y + c * p2.y + d * p3.y))});
    }
    polyline.push_back(points[start + 3]);
  }
  return polyline;
}

}  // namespace fluxo::gdi

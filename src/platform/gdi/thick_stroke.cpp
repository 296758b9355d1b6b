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

// The pen moved along one segment a-b, less the disc at b, which the next
// segment or the path's end covers: the disc at a and the band between the
// perpendiculars at the ends. What does not depend on the row is worked out
// once per segment.
class SegmentSweep {
 public:
  SegmentSweep(const PointF& a, const PointF& b, double radius)
      : a_(a), radius_(radius), dx_(b.x - a.x), dy_(b.y - a.y), lengthSquared_(dx_ * dx_ + dy_ * dy_) {
    reach_ = radius * std::sqrt(lengthSquared_) + kEdgeTolerance;
    if (dy_ != 0) {
      slope_ = dx_ / dy_;
      halfWidth_ = reach_ / dy_;
    }
    if (dx_ != 0) {
      cross_ = dy_ / dx_;
      extent_ = lengthSquared_ / dx_;
    }
  }

  Interval Row(double y) const {
    Interval covered = DiscRow(a_, radius_, y);
    covered.Hull(BandRow(y));
    return covered;
  }

 private:
  Interval BandRow(double y) const {
    if (lengthSquared_ == 0) return {};
    const double ry = y - a_.y;
    Interval row{-1e18, 1e18};
    // Distance from the line: |dx * ry - dy * (x - a.x)| <= radius * length.
    if (dy_ != 0) {
      const double middle = a_.x + ry * slope_;
      row.Intersect(middle - halfWidth_, middle + halfWidth_);
    } else if (std::abs(dx_ * ry) > reach_) {
      return {};
    }
    // Projection onto the segment: 0 <= dx * (x - a.x) + dy * ry <= length^2.
    if (dx_ != 0) {
      const double start = a_.x - ry * cross_;
      row.Intersect(start, start + extent_);
    } else if (dy_ * ry < 0 || dy_ * ry > lengthSquared_) {
      return {};
    }
    return row;
  }

  PointF a_;
  double radius_, dx_, dy_, lengthSquared_, reach_ = 0;
  double slope_ = 0, halfWidth_ = 0, cross_ = 0, extent_ = 0;  // row-independent parts of the band's edges
};

// Spans of the rows [top, bottom), each new span joined to its row's open span
// when the two overlap or touch. Consecutive segments of a wide path cover
// nearly the same pixels on a row, so this stores about one span per row and
// lobe instead of one per segment, and leaves little to sort.
class RowSpans {
 public:
  RowSpans(int32_t top, int32_t bottom, std::vector<Region::Span>& out)
      : top_(top), open_(static_cast<size_t>(std::max<int64_t>(int64_t{bottom} - top, 0))), out_(out) {}

  void Add(int32_t y, int32_t x0, int32_t x1) {
    Open& open = open_[static_cast<size_t>(y - top_)];
    if (open.x0 < open.x1) {
      if (x0 <= open.x1 && open.x0 <= x1) {
        open = {std::min(open.x0, x0), std::max(open.x1, x1)};
        return;
      }
      out_.push_back({y, open.x0, open.x1});
    }
    open = {x0, x1};
  }

  void Flush() {
    for (size_t i = 0; i < open_.size(); ++i) {
      if (open_[i].x0 < open_[i].x1) out_.push_back({top_ + static_cast<int32_t>(i), open_[i].x0, open_[i].x1});
    }
  }

 private:
  struct Open {
    int32_t x0 = 0, x1 = 0;  // empty while x0 >= x1
  };
  int32_t top_;
  std::vector<Open> open_;
  std::vector<Region::Span>& out_;
};

void AppendSegment(const PointF& a, const PointF& b, double radius, const Rect& window, RowSpans& rows) {
  const double left = std::floor(std::min(a.x, b.x) - radius);
  const double right = std::ceil(std::max(a.x, b.x) + radius);
  if (right + 1 < window.left || left - 1 >= window.right) return;  // a pixel's margin for the tolerance
  const double top = std::floor(std::min(a.y, b.y) - radius);
  const double bottom = std::ceil(std::max(a.y, b.y) + radius);
  const auto yBegin = static_cast<int32_t>(std::max<double>(top, window.top));
  const auto yEnd = static_cast<int32_t>(std::min<double>(bottom + 1, window.bottom));
  const SegmentSweep sweep(a, b, radius);
  for (int32_t y = yBegin; y < yEnd; ++y) {
    const Interval covered = sweep.Row(y);
    if (covered.Empty()) continue;
    const double x0 = std::max(std::ceil(covered.low - kEdgeTolerance), static_cast<double>(window.left));
    const double x1 = std::min(std::floor(covered.high + kEdgeTolerance) + 1, static_cast<double>(window.right));
    if (x0 < x1) rows.Add(y, static_cast<int32_t>(x0), static_cast<int32_t>(x1));
  }
}

}  // namespace

void AppendStrokeSpans(const std::vector<PointF>& path, bool closed, int width, const Rect& window,
                       std::vector<Region::Span>& out) {
  if (path.empty() || window.Empty()) return;
  const double radius = width / 2.0;
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  std::vector<PointF> points;
  points.reserve(path.size());
  double minY = kCoordinateLimit, maxY = -kCoordinateLimit;
  for (const PointF& p : path) {
    points.push_back({std::clamp<double>(p.x, -kCoordinateLimit, kCoordinateLimit) + shift,
                      std::clamp<double>(p.y, -kCoordinateLimit, kCoordinateLimit) + shift});
    minY = std::min(minY, points.back().y);
    maxY = std::max(maxY, points.back().y);
  }
  RowSpans rows(static_cast<int32_t>(std::max<double>(std::floor(minY - radius), window.top)),
                static_cast<int32_t>(std::min<double>(std::ceil(maxY + radius) + 1, window.bottom)), out);
  for (size_t i = 0; i + 1 < points.size(); ++i) AppendSegment(points[i], points[i + 1], radius, window, rows);
  // The closing segment ends at the first point; an open path ends with a disc.
  const PointF& last = points.back();
  AppendSegment(last, closed ? points.front() : last, radius, window, rows);
  rows.Flush();
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

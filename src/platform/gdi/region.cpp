#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>

#include "platform/gdi/ellipse_raster.h"
#include "platform/gdi/polygon_fill.h"

namespace fluxo::gdi {
namespace {

constexpr Rect kRegionSpace{-Region::kRegionLimit, -Region::kRegionLimit, Region::kRegionLimit, Region::kRegionLimit};

bool SpanLess(const Region::Span& a, const Region::Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; }

// Sorts spans by row, then by left end. Strokes give many spans over few
// rows: those are dealt out to their rows first (counting the spans of each
// row), which leaves a handful per row to sort instead of the whole lot.
template <class Less>
void SortSpans(std::vector<Region::Span>& spans, Less less) {
  const auto [low, high] = std::minmax_element(spans.begin(), spans.end(),
                                               [](const Region::Span& a, const Region::Span& b) { return a.y < b.y; });
  const int64_t rows = int64_t{high->y} - low->y + 1;
  if (rows > static_cast<int64_t>(spans.size()) * 4) {
    std::sort(spans.begin(), spans.end(), less);
    return;
  }
  const int32_t top = low->y;
  std::vector<uint32_t> starts(static_cast<size_t>(rows) + 1, 0);
  for (const Region::Span& span : spans) ++starts[static_cast<size_t>(span.y - top) + 1];
  for (size_t row = 1; row < starts.size(); ++row) starts[row] += starts[row - 1];
  std::vector<Region::Span> sorted(spans.size());
  std::vector<uint32_t> next(starts.begin(), starts.end() - 1);
  for (const Region::Span& span : spans) sorted[next[static_cast<size_t>(span.y - top)]++] = span;
  for (size_t row = 0; row + 1 < starts.size(); ++row) {
    const auto first = sorted.begin() + starts[row], last = sorted.begin() + starts[row + 1];
    if (last - first > 16) {
      std::sort(first, last, less);
      continue;
    }
    // Few spans to a row: insertion sort.
    for (uint32_t i = starts[row] + 1; i < starts[row + 1]; ++i) {
      const Region::Span span = sorted[i];
      uint32_t j = i;
      for (; j > starts[row] && span.x0 < sorted[j - 1].x0; --j) sorted[j] = sorted[j - 1];
      sorted[j] = span;
    }
  }
  spans.swap(sorted);
}

// Appends a span, joining it to the previous one when they touch on one row.
void AppendMerged(std::vector<Region::Span>& out, const Region::Span& span) {
  if (span.x0 >= span.x1) return;
  if (!out.empty() && out.back().y == span.y && span.x0 <= out.back().x1) {
    out.back().x1 = std::max(out.back().x1, span.x1);
    return;
  }
  out.push_back(span);
}

bool Inside(bool inA, bool inB, CombineMode mode) {
  switch (mode) {
    case CombineMode::And:
      return inA && inB;
    case CombineMode::Or:
      return inA || inB;
    case CombineMode::Xor:
      return inA != inB;
    case CombineMode::Diff:
      return inA && !inB;
    case CombineMode::Copy:
      return inA;
  }
  return false;
}

// Combines the spans of one row by sweeping over both sets of edges.
void CombineRow(int y, const Region::Span* a, const Region::Span* aEnd, const Region::Span* b, const Region::Span* bEnd,
                CombineMode mode, std::vector<Region::Span>& out) {
  bool inA = false, inB = false, inside = false;
  int32_t start = 0;
  while (a != aEnd || b != bEnd) {
    const int32_t nextA = a != aEnd ? (inA ? a->x1 : a->x0) : INT32_MAX;
    const int32_t nextB = b != bEnd ? (inB ? b->x1 : b->x0) : INT32_MAX;
    const int32_t x = std::min(nextA, nextB);
    if (nextA == x) {
      if (inA) ++a;
      inA = !inA;
    }
    if (nextB == x) {
      if (inB) ++b;
      inB = !inB;
    }
    const bool now = Inside(inA, inB, mode);
    if (now && !inside) start = x;
    if (!now && inside) AppendMerged(out, {y, start, x});
    inside = now;
  }
}

}  // namespace

Region Region::FromSpans(std::vector<Span> spans) {
  // A lambda, unlike a function pointer, is inlined into the sort; spans
  // that come row by row need no sorting at all.
  const auto less = [](const Span& a, const Span& b) { return SpanLess(a, b); };
  if (!std::is_sorted(spans.begin(), spans.end(), less)) SortSpans(spans, less);
  Region region;
  region.spans_.reserve(spans.size());
  for (const Span& span : spans) AppendMerged(region.spans_, span);
  return region;
}

Region Region::FromRect(const Rect& r) {
  // Like CreateRectRgn, corners given in any order.
  const int64_t left = std::clamp<int64_t>(std::min(r.left, r.right), -kRegionLimit, kRegionLimit);
  const int64_t right = std::clamp<int64_t>(std::max(r.left, r.right), -kRegionLimit, kRegionLimit);
  const int64_t top = std::clamp<int64_t>(std::min(r.top, r.bottom), -kRegionLimit, kRegionLimit);
  const int64_t bottom = std::clamp<int64_t>(std::max(r.top, r.bottom), -kRegionLimit, kRegionLimit);
  Region region;
  if (left >= right) return region;
  region.spans_.reserve(static_cast<size_t>(bottom - top));
  for (int64_t y = top; y < bottom; ++y) {
    region.spans_.push_back({static_cast<int32_t>(y), static_cast<int32_t>(left), static_cast<int32_t>(right)});
  }
  return region;
}

Region Region::FromEllipse(const Rect& bounds) {
  // An elliptic region, like a filled ellipse drawn without a pen, leaves out
  // the right and bottom edges of its bounding box.
  std::vector<Span> spans;
  Rect box = NormalizedRect(bounds);
  --box.right;
  --box.bottom;
  AppendEllipseSpans(box, kRegionSpace, spans);
  return FromSpans(std::move(spans));
}

Region Region::FromPolygon(const Point* points, int count, FillMode mode) {
  std::vector<Span> spans;
  AppendPolygonSpans(points, count, mode, kRegionSpace, spans);
  return FromSpans(std::move(spans));
}

Region Region::Combine(const Region& a, const Region& b, CombineMode mode) {
  if (mode == CombineMode::Copy) return a;
  Region result;
  const Span* pa = a.spans_.data();
  const Span* aEnd = pa + a.spans_.size();
  const Span* pb = b.spans_.data();
  const Span* bEnd = pb + b.spans_.size();
  while (pa != aEnd || pb != bEnd) {
    const int32_t y = std::min(pa != aEnd ? pa->y : INT32_MAX, pb != bEnd ? pb->y : INT32_MAX);
    const Span* aRowEnd = pa;
    while (aRowEnd != aEnd && aRowEnd->y == y) ++aRowEnd;
    const Span* bRowEnd = pb;
    while (bRowEnd != bEnd && bRowEnd->y == y) ++bRowEnd;
    CombineRow(y, pa, aRowEnd, pb, bRowEnd, mode, result.spans_);
    pa = aRowEnd;
    pb = bRowEnd;
  }
  return result;
}

bool Region::Empty() const { return spans_.empty(); }

std::pair<size_t, size_t> Region::RowRange(int y) const {
  const auto first =
      std::lower_bound(spans_.begin(), spans_.end(), y, [](const Span& span, int row) { return span.y < row; });
  auto last = first;
  while (last != spans_.end() && last->y == y) ++last;
  return {static_cast<size_t>(first - spans_.begin()), static_cast<size_t>(last - spans_.begin())};
}

bool Region::Contains(int x, int y) const {
  const auto [first, last] = RowRange(y);
  for (size_t i = first; i < last; ++i) {
    if (x >= spans_[i].x0 && x < spans_[i].x1) return true;
  }
  return false;
}

Rect Region::Bounds() const {
  if (spans_.empty()) return {};
  Rect bounds{INT32_MAX, spans_.front().y, INT32_MIN, spans_.back().y + 1};
  for (const Span& span : spans_) {
    bounds.left = std::min(bounds.left, span.x0);
    bounds.right = std::max(bounds.right, span.x1);
  }
  return bounds;
}

void Region::Offset(int dx, int dy) {
  // Saturating, so that absurd offsets cannot overflow the coordinates.
  const auto shift = [](int32_t value, int delta) {
    constexpr int64_t kMaxCoordinate = int64_t{1} << 30;
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} + delta, -kMaxCoordinate, kMaxCoordinate));
  };
  for (Span& span : spans_) {
    span.y = shift(span.y, dy);
    span.x0 = shift(span.x0, dx);
    span.x1 = shift(span.x1, dx);
  }
}

}  // namespace fluxo::gdi

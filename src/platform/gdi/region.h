#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

enum class FillMode { Alternate, Winding };
enum class CombineMode { And, Or, Xor, Diff, Copy };

// A set of pixels kept as sorted, non-overlapping spans per row. Regions live
// in the 16-bit coordinate space of the original display: parts beyond
// +-kRegionLimit are cut off, so a far-away shape cannot exhaust memory.
class Region {
 public:
  struct Span {
    int32_t y, x0, x1;  // x1 exclusive
  };
  static constexpr int32_t kRegionLimit = 32768;

  Region() = default;
  static Region FromRect(const Rect& r);
  static Region FromEllipse(const Rect& bounds);
  static Region FromPolygon(const Point* points, int count, FillMode mode);

  // this = a <op> b, as the platform's CombineRgn.
  static Region Combine(const Region& a, const Region& b, CombineMode mode);

  bool Empty() const;
  bool Contains(int x, int y) const;
  Rect Bounds() const;
  void Offset(int dx, int dy);

  // Any spans, overlapping or unsorted; the region is their union.
  static Region FromSpans(std::vector<Span> spans);
  const std::vector<Span>& Spans() const { return spans_; }
  // The spans of row y: [first, last) indices into Spans().
  std::pair<size_t, size_t> RowRange(int y) const;

 private:
  std::vector<Span> spans_;  // sorted by y, then x0
};

}  // namespace fluxo::gdi

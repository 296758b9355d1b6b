#pragma once
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo::gdi {

enum class FillMode { Alternate, Winding };
enum class CombineMode { And, Or, Xor, Diff, Copy };

// A set of pixels kept as sorted, non-overlapping spans per row.
class Region {
 public:
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

  struct Span {
    int32_t y, x0, x1;  // x1 exclusive
  };
  const std::vector<Span>& Spans() const { return spans_; }

 private:
  std::vector<Span> spans_;  // sorted by y, then x0
};

}  // namespace fluxo::gdi

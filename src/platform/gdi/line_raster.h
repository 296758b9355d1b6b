#pragma once
#include <cstdint>
#include <vector>

#include "platform/gdi/region.h"

namespace fluxo::gdi {

// The platform's line walk: the pixels from `from` towards `to`, the end point
// excluded, one per step along the major axis. Pixel i lies at
// major = from + i and minor = from + round(i * dMinor / dMajor), halves
// rounding towards the start.
class LineWalk {
 public:
  LineWalk(Point from, Point to);

  int64_t Steps() const { return major_; }
  Point At(int64_t step) const;

  // The steps [first, last) whose pixels lie inside `window`.
  void VisibleSteps(const Rect& window, int64_t& first, int64_t& last) const;

  // Calls visit(x, y) for the pixels of steps [first, last).
  template <class Visit>
  void ForEach(int64_t first, int64_t last, Visit&& visit) const {
    if (first >= last) return;
    const int64_t denominator = 2 * major_;
    const int64_t numerator = 2 * first * minor_ + major_ - 1;
    int64_t offset = numerator / denominator;
    int64_t remainder = numerator % denominator;
    for (int64_t i = first; i < last; ++i) {
      const int64_t majorPos = majorStart_ + majorSign_ * i;
      const int64_t minorPos = minorStart_ + minorSign_ * offset;
      if (xMajor_) {
        visit(static_cast<int32_t>(majorPos), static_cast<int32_t>(minorPos));
      } else {
        visit(static_cast<int32_t>(minorPos), static_cast<int32_t>(majorPos));
      }
      remainder += 2 * minor_;
      if (remainder >= denominator) {
        remainder -= denominator;
        ++offset;
      }
    }
  }

 private:
  // The offset along the minor axis at a step.
  int64_t MinorOffset(int64_t step) const;
  // The first step whose minor offset is at least `offset`.
  int64_t FirstStepReaching(int64_t offset) const;

  bool xMajor_;
  int64_t majorStart_, minorStart_;
  int64_t majorSign_, minorSign_;
  int64_t major_, minor_;  // absolute extents, major_ >= minor_
};

// Visits every pixel of the line from `from` to `to`, end excluded, wherever
// it lies (the platform's line DDA, for stamping shapes along a line).
template <class Visit>
void ForEachLinePoint(Point from, Point to, Visit&& visit) {
  const LineWalk walk(from, to);
  walk.ForEach(0, walk.Steps(), visit);
}

// Appends the visible pixels of a one-pixel line as horizontal runs.
void AppendLineSpans(Point from, Point to, const Rect& window, std::vector<Region::Span>& out);

}  // namespace fluxo::gdi

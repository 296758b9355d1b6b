#include "platform/gdi/line_raster.h"

#include <algorithm>
#include <cstdlib>

namespace fluxo::gdi {

LineWalk::LineWalk(Point from, Point to) {
  from = ClampPoint(from);
  to = ClampPoint(to);
  const int64_t dx = int64_t{to.x} - from.x;
  const int64_t dy = int64_t{to.y} - from.y;
  xMajor_ = std::llabs(dx) >= std::llabs(dy);
  majorStart_ = xMajor_ ? from.x : from.y;
  minorStart_ = xMajor_ ? from.y : from.x;
  const int64_t majorDelta = xMajor_ ? dx : dy;
  const int64_t minorDelta = xMajor_ ? dy : dx;
  majorSign_ = majorDelta < 0 ? -1 : 1;
  minorSign_ = minorDelta < 0 ? -1 : 1;
  major_ = std::llabs(majorDelta);
  minor_ = std::llabs(minorDelta);
}

int64_t LineWalk::MinorOffset(int64_t step) const {
  if (major_ == 0) return 0;
  return (2 * step * minor_ + major_ - 1) / (2 * major_);
}

Point LineWalk::At(int64_t step) const {
  if (major_ == 0) step = 0;
  const int64_t majorPos = majorStart_ + majorSign_ * step;
  const int64_t minorPos = minorStart_ + minorSign_ * MinorOffset(step);
  return xMajor_ ? Point{static_cast<int32_t>(majorPos), static_cast<int32_t>(minorPos)}
                 : Point{static_cast<int32_t>(minorPos), static_cast<int32_t>(majorPos)};
}

int64_t LineWalk::FirstStepReaching(int64_t offset) const {
  if (offset <= 0) return 0;
  if (minor_ == 0) return major_;  // never reached
  // MinorOffset(i) >= k  <=>  2 i minor + major - 1 >= 2 major k
  const int64_t numerator = 2 * major_ * offset - major_ + 1;
  const int64_t denominator = 2 * minor_;
  return (numerator + denominator - 1) / denominator;
}

void LineWalk::VisibleSteps(const Rect& window, int64_t& first, int64_t& last) const {
  first = 0;
  last = major_;
  if (major_ == 0 || window.Empty()) {
    last = 0;
    return;
  }
  const int64_t majorLow = xMajor_ ? window.left : window.top;
  const int64_t majorHigh = (xMajor_ ? window.right : window.bottom) - 1;
  const int64_t minorLow = xMajor_ ? window.top : window.left;
  const int64_t minorHigh = (xMajor_ ? window.bottom : window.right) - 1;

  // Along the major axis the position moves one pixel per step.
  const int64_t a = majorSign_ > 0 ? majorLow - majorStart_ : majorStart_ - majorHigh;
  const int64_t b = majorSign_ > 0 ? majorHigh - majorStart_ : majorStart_ - majorLow;
  first = std::max(first, a);
  last = std::min(last, b + 1);

  // Along the minor axis the offset never decreases with the step.
  const int64_t lowOffset = minorSign_ > 0 ? minorLow - minorStart_ : minorStart_ - minorHigh;
  const int64_t highOffset = minorSign_ > 0 ? minorHigh - minorStart_ : minorStart_ - minorLow;
  if (highOffset < 0) {
    last = first;
    return;
  }
  first = std::max(first, FirstStepReaching(lowOffset));
  last = std::min(last, FirstStepReaching(highOffset + 1));
  if (last < first) last = first;
}

void AppendLineSpans(Point from, Point to, const Rect& window, std::vector<Region::Span>& out) {
  const LineWalk walk(from, to);
  int64_t first, last;
  walk.VisibleSteps(window, first, last);
  bool open = false;
  Region::Span run{};
  walk.ForEach(first, last, [&](int32_t x, int32_t y) {
    if (open && y == run.y && (x == run.x1 || x == run.x0 - 1)) {
      run.x0 = std::min(run.x0, x);
      run.x1 = std::max(run.x1, x + 1);
      return;
    }
    if (open) out.push_back(run);
    run = {y, x, x + 1};
    open = true;
  });
  if (open) out.push_back(run);
}

}  // namespace fluxo::gdi

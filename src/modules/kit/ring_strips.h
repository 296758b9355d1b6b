#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "modules/kit/palette_dib_header.h"
#include "modules/kit/tile_replication.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// Adds rand mod `amount` to `count` palette indices `step` bytes apart,
// keeping them at most 235.
void Diffuse(uint8_t* first, int count, int step, int amount);

// The line buffer of the ring-drawing modules (Pattern, Stain, Ray): one strip
// of a ring at a time, as a row of bytes or a column of one-pixel rows padded
// to 4 bytes, blitted in palette-index mode. Rings are drawn upside down with
// respect to their values: values for the ring's top row go to its bottom row,
// and a column's first value lands at its bottom.
class RingStrips {
 public:
  // Room for one strip along either side of the surface; false when the
  // memory cannot be had.
  bool Allocate(int surfaceWidth, int surfaceHeight);
  void Release();
  bool Allocated() const { return !line_.empty(); }
  // The most entries one strip can hold.
  int Capacity() const { return capacity_; }

  // Fills the row or column with value(0..count - 1), then diffuses it.
  template <typename Value>
  void FillRow(int count, int diffuse, Value value) {
    count = std::min(count, capacity_);
    for (int k = 0; k < count; ++k) line_[k] = value(k);
    Diffuse(line_.data(), count, 1, diffuse);
  }
  template <typename Value>
  void FillColumn(int count, int diffuse, Value value) {
    count = std::min(count, capacity_);
    for (int k = 0; k < count; ++k) line_[4 * k] = value(k);
    Diffuse(line_.data(), count, 4, diffuse);
  }

  // Blits the first `count` entries stretched to `width` (or `height`) pixels.
  void BlitRow(gdi::FrameSurface& surface, int x, int y, int width, int count);
  void BlitColumn(gdi::FrameSurface& surface, int x, int y, int height, int count);

  // A ring of generated values, g(x, y) at the ring's own coordinates. With
  // a fold count the ring repeats a zig-zag of its first samples instead.
  template <typename Generator>
  void DrawRing(gdi::FrameSurface& surface, RingRect ring, int foldCount, int diffuse, Generator g) {
    ring = Fitted(ring);
    if (foldCount > 0) {
      DrawFoldedRing(
          surface, ring, foldCount, diffuse, [&](int k) { return g(ring.left + k, ring.top); },
          [&](int k) { return g(ring.right, ring.top + k); });
      return;
    }
    const int width = ring.right - ring.left + 1;
    const int height = ring.bottom - ring.top + 1;
    FillRow(width, diffuse, [&](int k) { return g(ring.left + k, ring.top); });
    BlitRow(surface, ring.left, ring.bottom, width, width);
    FillRow(width, diffuse, [&](int k) { return g(ring.left + k, ring.bottom); });
    BlitRow(surface, ring.left, ring.top, width, width);
    FillColumn(height, diffuse, [&](int k) { return g(ring.left, ring.top + k); });
    BlitColumn(surface, ring.left, ring.top, height, height);
    FillColumn(height, diffuse, [&](int k) { return g(ring.right, ring.top + k); });
    BlitColumn(surface, ring.right, ring.top, height, height);
  }

  // A folded ring: samples are taken along the top (topSample(k) for k below
  // the ring's width - 1) and then down the right side (rightSample(k)); the
  // first segment of them, zig-zagged, fills the bottom row (copied to the
  // top) and the left column (copied to the right).
  template <typename TopSample, typename RightSample>
  void DrawFoldedRing(gdi::FrameSurface& surface, RingRect ring, int foldCount, int diffuse, TopSample topSample,
                      RightSample rightSample) {
    ring = Fitted(ring);
    const int longest = std::max((ring.right - ring.left) / foldCount, (ring.bottom - ring.top) / foldCount) + 1;
    int taken = 0;
    for (int k = 0; k < ring.right - ring.left && taken <= longest; ++k) samples_[taken++] = topSample(k);
    for (int k = 0; k < ring.bottom - ring.top && taken <= longest; ++k) samples_[taken++] = rightSample(k);
    Diffuse(samples_.data(), longest, 1, diffuse);
    PaintFolded(surface, ring, foldCount);
  }

 private:
  // The ring cut to what a strip can hold.
  RingRect Fitted(RingRect ring) const;
  void PaintFolded(gdi::FrameSurface& surface, const RingRect& ring, int foldCount);

  std::vector<uint8_t> line_;     // capacity_ entries of 4 bytes
  std::vector<uint8_t> samples_;  // capacity_ + 10 fold samples
  PaletteDibHeader header_;
  int capacity_ = 0;
};

}  // namespace fluxo::kit

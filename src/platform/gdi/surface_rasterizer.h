#pragma once
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {

class FontFace;

// How painting changes a pixel: set it to a value, or invert it (^ 0xFF).
struct Ink {
  uint8_t value = 0;
  bool invert = false;
};

// Rows of 8-bit pixels to copy from; a negative stride walks a bottom-up
// bitmap top-down.
struct SourceImage {
  const uint8_t* topRow;
  int64_t stride;
  int width;
  int height;
};

// The drawing core of a FrameSurface: turns spans and regions into pixel
// writes, clipped to the surface and its clip region, and strokes and fills
// shapes with the selected pen, brush and mix mode.
class FrameSurface::Rasterizer {
 public:
  explicit Rasterizer(FrameSurface& surface) : surface_(surface) {}

  static Ink Solid(uint8_t value) { return {value, false}; }
  // Pens and the brush of filled shapes follow the mix mode.
  Ink PenInk() const;
  Ink ShapeBrushInk() const;
  bool PenVisible() const { return surface_.pen_.style != Pen::Style::Null; }
  bool BrushVisible() const { return surface_.brush_.style != Brush::Style::Hollow; }
  bool WidePen() const { return surface_.pen_.width > 1; }

  // The part of the surface drawing can reach: rasterisers stop there.
  Rect Window() const;

  uint8_t* Row(int y) { return surface_.pixels_.data() + static_cast<size_t>(y) * surface_.width_; }
  void PaintSpan(int y, int x0, int x1, Ink ink);
  // A rectangle (right and bottom exclusive) as given; nothing when empty.
  void PaintRect(const Rect& rect, Ink ink);
  void PaintSpans(const std::vector<Region::Span>& spans, Ink ink);
  void PaintRegion(const Region& region, Ink ink);

  // Calls visit(x0, x1) for the visible parts of row y between x0 and x1.
  template <class Visit>
  void ForEachVisible(int y, int x0, int x1, Visit&& visit) const;

  // A nearest-neighbour stretch of a source rectangle onto a destination
  // rectangle (negative extents mirror); `convert` maps source pixel values.
  template <class Convert>
  void StretchFrom(const SourceImage& source, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                   Convert convert);

  // One line of text with its cell's top-left corner at (x, y), painted only
  // inside `limit`: the background (when given) first, then the glyphs.
  void DrawTextLine(const FontFace& font, std::u32string_view text, int x, int y, const Rect& limit, Ink ink,
                    const Ink* background);

  // An open path drawn with the pen: one-pixel pens segment by segment, each
  // without its end point; wide pens as one stroke.
  void StrokeOpenPath(const std::vector<Point>& path);
  // The pixels the pen covers along a closed path.
  Region ClosedOutline(const std::vector<Point>& path) const;
  // A filled shape: the outline with the pen, the rest of the interior with
  // the brush, so that each pixel is painted once.
  void PaintShape(const Region& interior, const Region& outline);

 private:
  FrameSurface& surface_;
};

template <class Visit>
void FrameSurface::Rasterizer::ForEachVisible(int y, int x0, int x1, Visit&& visit) const {
  if (y < 0 || y >= surface_.height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, surface_.width_);
  if (x0 >= x1) return;
  if (!surface_.clip_) {
    visit(x0, x1);
    return;
  }
  const auto& spans = surface_.clip_->Spans();
  const auto [first, last] = surface_.clip_->RowRange(y);
  for (size_t i = first; i < last; ++i) {
    const int a = std::max(x0, spans[i].x0);
    const int b = std::min(x1, spans[i].x1);
    if (a < b) visit(a, b);
  }
}

}  // namespace fluxo::gdi

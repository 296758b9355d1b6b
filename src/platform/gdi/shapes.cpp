#include <algorithm>

#include "platform/gdi/ellipse_raster.h"
#include "platform/gdi/frame_surface.h"
#include "platform/gdi/polygon_fill.h"
#include "platform/gdi/surface_rasterizer.h"
#include "platform/gdi/thick_stroke.h"

namespace fluxo::gdi {
void FrameSurface::Polygon(const Point* points, int count) {
  if (points == nullptr || count < 2) return;
  Rasterizer raster(*this);
  std::vector<Region::Span> spans;
  // A hollow brush paints no interior: outlines of large shapes skip the fill work.
  if (raster.BrushVisible()) AppendPolygonSpans(points, count, fillMode_, raster.Window(), spans);
  raster.PaintShape(Region::FromSpans(std::move(spans)),
                    raster.ClosedOutline(std::vector<Point>(points, points + count)));
}

void FrameSurface::Rectangle(int left, int top, int right, int bottom) {
  const Rect box =
      NormalizedRect({ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom)});
  if (box.Empty()) return;
  Rasterizer raster(*this);
  // The pen runs along the outermost pixels; the fill leaves out the right
  // and bottom edges, so without a pen the rectangle is one pixel smaller.
  const Rect inner{box.left, box.top, box.right - 1, box.bottom - 1};
  const Rect visible = IntersectRect(inner, raster.Window());
  const Region interior = visible.Empty() ? Region{} : Region::FromRect(visible);
  const std::vector<Point> path{
      {box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1}, {box.left, box.bottom - 1}};
  raster.PaintShape(interior, raster.ClosedOutline(path));
}

void FrameSurface::Ellipse(int left, int top, int right, int bottom) {
  const Rect box =
      NormalizedRect({ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom)});
  if (box.Empty()) return;
  Rasterizer raster(*this);
  const Rect window = raster.Window();
  std::vector<Region::Span> interior, outline;
  if (!raster.PenVisible()) {
    // Without a pen the fill leaves out the right and bottom edges.
    AppendEllipseSpans({box.left, box.top, box.right - 1, box.bottom - 1}, window, interior);
  } else {
    AppendEllipseSpans(box, window, interior);
    if (raster.WidePen()) {
      AppendStrokeSpans(EllipsePath(box), true, pen_.width, window, outline);
    } else {
      AppendEllipseOutlineSpans(box, window, outline);
    }
  }
  raster.PaintShape(Region::FromSpans(std::move(interior)), Region::FromSpans(std::move(outline)));
}

void FrameSurface::FillRect(const Rect& rect, const Brush& brush) {
  if (brush.style == Brush::Style::Hollow) return;
  Rasterizer(*this).PaintRect(rect, Rasterizer::Solid(PixelOf(brush.color)));
}

void FrameSurface::InvertRect(const Rect& rect) { Rasterizer(*this).PaintRect(rect, {0, true}); }

void FrameSurface::FillRegion(const Region& region, const Brush& brush) {
  if (brush.style == Brush::Style::Hollow) return;
  Rasterizer(*this).PaintRegion(region, Rasterizer::Solid(PixelOf(brush.color)));
}

}  // namespace fluxo::gdi

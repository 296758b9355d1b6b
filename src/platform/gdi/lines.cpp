#include "platform/gdi/bezier.h"
#include "platform/gdi/frame_surface.h"
#include "platform/gdi/surface_rasterizer.h"

namespace fluxo::gdi {

void FrameSurface::MoveTo(int x, int y) { position_ = {x, y}; }

void FrameSurface::LineTo(int x, int y) {
  const Point to{x, y};
  Rasterizer(*this).StrokeOpenPath({position_, to});
  position_ = to;
}

void FrameSurface::Polyline(const Point* points, int count) {
  if (points == nullptr || count < 2) return;
  Rasterizer(*this).StrokeOpenPath(std::vector<Point>(points, points + count));
}

void FrameSurface::PolyBezier(const Point* points, int count) {
  Rasterizer(*this).StrokeOpenPath(FlattenBezier(points, count));
}

}  // namespace fluxo::gdi

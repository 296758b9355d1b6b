#include "modules/kit/polygon_outline.h"

#include <algorithm>
#include <array>

namespace fluxo::kit {

void DrawPolygonOutline(gdi::FrameSurface& surface, std::span<const gdi::Point> vertices) {
  constexpr size_t kMaxVertices = 64;
  const int count = static_cast<int>(vertices.size());
  // A polygon shrunk to one point still marks that pixel; a polyline would not.
  const bool onePoint =
      std::all_of(vertices.begin(), vertices.end(), [&](const gdi::Point& p) { return p == vertices.front(); });
  if (surface.CurrentPen().width > 1 || vertices.size() >= kMaxVertices || vertices.size() < 2 || onePoint) {
    surface.Polygon(vertices.data(), count);
    return;
  }
  std::array<gdi::Point, kMaxVertices> closed;
  for (size_t i = 0; i < vertices.size(); ++i) closed[i] = vertices[i];
  closed[vertices.size()] = vertices[0];
  surface.Polyline(closed.data(), count + 1);
}

}  // namespace fluxo::kit

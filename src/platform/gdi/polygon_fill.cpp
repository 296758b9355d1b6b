#include "platform/gdi/polygon_fill.h"

#include <algorithm>

namespace fluxo::gdi {
namespace {

struct Edge {
  int64_t x0, y0, x1, y1;  // y0 < y1; the edge covers rows y0 <= y < y1
  int direction;           // +1 downwards in the point order, -1 upwards
};

struct Crossing {
  int64_t x;
  int direction;
};

int64_t CeilDiv(int64_t numerator, int64_t denominator) {  // denominator > 0
  const int64_t quotient = numerator / denominator;
  return quotient + ((numerator % denominator) > 0 ? 1 : 0);
}

std::vector<Edge> BuildEdges(const Point* points, int count) {
  std::vector<Edge> edges;
  edges.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const Point a = ClampPoint(points[i]);
    const Point b = ClampPoint(points[(i + 1) % count]);
    if (a.y == b.y) continue;
    if (a.y < b.y) {
      edges.push_back({a.x, a.y, b.x, b.y, 1});
    } else {
      edges.push_back({b.x, b.y, a.x, a.y, -1});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.y0 < r.y0; });
  return edges;
}

// The first pixel column at or right of the edge's crossing of row y.
int64_t CrossingColumn(const Edge& e, int64_t y) {
  const int64_t dy = e.y1 - e.y0;
  return CeilDiv(e.x0 * dy + (y - e.y0) * (e.x1 - e.x0), dy);
}

void EmitRow(int64_t y, const std::vector<Crossing>& crossings, FillMode mode, const Rect& window,
             std::vector<Region::Span>& out) {
  auto emit = [&](int64_t x0, int64_t x1) {
    x0 = std::max<int64_t>(x0, window.left);
    x1 = std::min<int64_t>(x1, window.right);
    if (x0 < x1) out.push_back({static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1)});
  };
  if (mode == FillMode::Alternate) {
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) emit(crossings[i].x, crossings[i + 1].x);
    return;
  }
  int winding = 0;
  int64_t start = 0;
  for (const Crossing& c : crossings) {
    const int before = winding;
    winding += c.direction;
    if (before == 0 && winding != 0) start = c.x;
    if (before != 0 && winding == 0) emit(start, c.x);
  }
}

}  // namespace

void AppendPolygonSpans(const Point* points, int count, FillMode mode, const Rect& window,
                        std::vector<Region::Span>& out) {
  if (points == nullptr || count < 3 || window.Empty()) return;
  const std::vector<Edge> edges = BuildEdges(points, count);
  if (edges.empty()) return;
  int64_t yEnd = edges.front().y1;
  for (const Edge& e : edges) yEnd = std::max(yEnd, e.y1);
  const int64_t yBegin = std::max<int64_t>(edges.front().y0, window.top);
  yEnd = std::min<int64_t>(yEnd, window.bottom);

  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  size_t next = 0;
  for (int64_t y = yBegin; y < yEnd; ++y) {
    while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
    crossings.clear();
    for (const Edge* e : active) crossings.push_back({CrossingColumn(*e, y), e->direction});
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    EmitRow(y, crossings, mode, window, out);
  }
}

}  // namespace fluxo::gdi

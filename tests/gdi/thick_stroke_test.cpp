#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gdi/surface_pictures.h"
#include "platform/gdi/bezier.h"
#include "platform/gdi/thick_stroke.h"

namespace fluxo::gdi {
namespace {

double DistanceToSegment(const PointF& a, const PointF& b, double x, double y) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  const double t = lengthSquared == 0 ? 0 : std::clamp(((x - a.x) * dx + (y - a.y) * dy) / lengthSquared, 0.0, 1.0);
  return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// How far pixel (x, y) lies from a pen of `width` drawn along the path, in
// pixels beyond half the width: negative inside. An even-width pen sits half a
// pixel up and left, the same as the pixel centre half a pixel down and right.
double Outside(const std::vector<PointF>& path, bool closed, int width, int x, int y) {
  const double shift = width % 2 == 0 ? 0.5 : 0.0;
  double nearest = DistanceToSegment(path.front(), path.front(), x + shift, y + shift);
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    nearest = std::min(nearest, DistanceToSegment(path[i], path[i + 1], x + shift, y + shift));
  }
  if (closed) nearest = std::min(nearest, DistanceToSegment(path.back(), path.front(), x + shift, y + shift));
  return nearest - width / 2.0;
}

// Every pixel of `area` is covered exactly when its centre is within half the
// pen's width of the path; centres within a hair of the edge may go either way.
void ExpectStrokeCoverage(const std::vector<PointF>& path, bool closed, int width,
                          const std::function<bool(int, int)>& covered, const Rect& area) {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const double outside = Outside(path, closed, width, x, y);
      if (std::abs(outside) < 1e-6) continue;
      ASSERT_EQ(covered(x, y), outside < 0) << "width " << width << " pixel " << x << "," << y;
    }
  }
}

Region StrokeRegion(const std::vector<PointF>& path, bool closed, int width, const Rect& window) {
  std::vector<Region::Span> spans;
  AppendStrokeSpans(path, closed, width, window, spans);
  return Region::FromSpans(std::move(spans));
}

std::vector<PointF> ToPointsF(const std::vector<Point>& points) {
  std::vector<PointF> out;
  for (const Point& p : points) out.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
  return out;
}

// Back and forth over the same rows, each pass shifted a little.
const std::vector<PointF> kZigZag{{10, 20}, {40, 20}, {12, 21}, {38, 23}, {11, 22}, {39, 19}, {25, 21}};

TEST(ThickStroke, CoversThePixelsWithinHalfTheWidthOfThePath) {
  const Rect window{0, 0, 80, 70};
  const Point loopControls[] = {{5, 60}, {90, -20}, {-20, -20}, {70, 60}};
  const std::vector<PointF> loop = ToPointsF(FlattenBezier(loopControls, 4));
  ASSERT_GT(loop.size(), 10u);
  const std::vector<PointF> triangle{{15, 10}, {60, 30}, {20, 55}};
  const std::vector<PointF> dot{{30.5, 30}};
  for (int width : {2, 5, 6, 13, 30}) {
    for (const auto& [path, closed] : {std::pair{kZigZag, false}, std::pair{loop, false}, std::pair{triangle, true},
                                       std::pair{triangle, false}, std::pair{dot, false}}) {
      const Region stroke = StrokeRegion(path, closed, width, window);
      ExpectStrokeCoverage(path, closed, width, [&](int x, int y) { return stroke.Contains(x, y); }, window);
    }
  }
}

TEST(ThickStroke, SeparateLobesOfOneRowStayApartAndOverlapsJoin) {
  // Down the left, across, up the right, back to the left and down it again:
  // row 20 meets the left side twice and the right side once, in turns.
  const std::vector<PointF> path{{10, 10}, {10, 30}, {50, 30}, {50, 10}, {12, 10}, {12, 30}};
  const Region stroke = StrokeRegion(path, false, 5, {0, 0, 64, 40});
  const auto [first, last] = stroke.RowRange(20);
  ASSERT_EQ(last - first, 2u);
  const Region::Span& left = stroke.Spans()[first];
  const Region::Span& right = stroke.Spans()[first + 1];
  EXPECT_EQ(left.x0, 8);
  EXPECT_EQ(left.x1, 15);
  EXPECT_EQ(right.x0, 48);
  EXPECT_EQ(right.x1, 53);
}

TEST(ThickStroke, InvertingAPathThatDoublesBackFlipsEachPixelOnce) {
  const std::vector<PointF> lobes{{10, 10}, {10, 30}, {50, 30}, {50, 10}, {12, 10}, {12, 30}};
  for (const auto& path : {kZigZag, lobes}) {
    std::vector<Point> points;
    for (const PointF& p : path) points.push_back({static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)});
    for (int width : {4, 9}) {
      FrameSurface s(64, 40);
      s.SetMixMode(MixMode::InvertDestination);
      s.SelectPen(Pen::Solid(width, PaletteIndex(3)));
      s.Polyline(points.data(), static_cast<int>(points.size()));
      // Black turns white once; a second flip would bring it back to black.
      EXPECT_EQ(test::CountPixels(s, kBlackPixel) + test::CountPixels(s, kWhitePixel), 64 * 40);
      ExpectStrokeCoverage(path, false, width, [&](int x, int y) { return s.PixelAt(x, y) == kWhitePixel; },
                           {0, 0, 64, 40});
    }
  }
}

TEST(ThickStroke, StaysInsideTheWindowAndKeepsThePixelsThere) {
  const Point controls[] = {{-40, 90}, {30, -60}, {70, 130}, {140, 20}};
  const std::vector<PointF> curve = ToPointsF(FlattenBezier(controls, 4));
  const std::vector<PointF> upright{{30, -10}, {30, 80}};
  // Windows across the curve, and beside the upright line, reached only by its fringe.
  const std::pair<std::vector<PointF>, Rect> cases[] = {
      {curve, {20, 15, 60, 45}}, {curve, {0, 0, 10, 100}}, {curve, {-30, 60, 5, 70}},
      {upright, {0, 0, 25, 40}}, {upright, {35, 20, 60, 90}}, {upright, {20, 70, 40, 100}}};
  for (const auto& [path, window] : cases) {
    const Region expected = Region::Combine(StrokeRegion(path, false, 24, {-100, -100, 200, 200}),
                                            Region::FromRect(window), CombineMode::And);
    ASSERT_FALSE(expected.Empty());
    const Region clipped = StrokeRegion(path, false, 24, window);
    ASSERT_EQ(clipped.Spans().size(), expected.Spans().size()) << window.left << "," << window.top;
    for (size_t i = 0; i < expected.Spans().size(); ++i) {
      EXPECT_EQ(clipped.Spans()[i].y, expected.Spans()[i].y);
      EXPECT_EQ(clipped.Spans()[i].x0, expected.Spans()[i].x0);
      EXPECT_EQ(clipped.Spans()[i].x1, expected.Spans()[i].x1);
    }
  }
  EXPECT_TRUE(StrokeRegion(curve, false, 24, {300, 300, 400, 400}).Empty());
}

}  // namespace
}  // namespace fluxo::gdi

#include "platform/gdi/region.h"

#include <gtest/gtest.h>

#include <vector>

namespace fluxo::gdi {
namespace {

int Area(const Region& r) {
  int area = 0;
  for (const Region::Span& s : r.Spans()) area += s.x1 - s.x0;
  return area;
}

TEST(Region, RectangleExcludesRightAndBottomAndAcceptsCornersInAnyOrder) {
  const Region r = Region::FromRect({5, 4, 1, 2});
  EXPECT_EQ(r.Bounds(), (Rect{1, 2, 5, 4}));
  EXPECT_EQ(Area(r), 8);
  EXPECT_TRUE(r.Contains(1, 2));
  EXPECT_TRUE(r.Contains(4, 3));
  EXPECT_FALSE(r.Contains(5, 3));
  EXPECT_FALSE(r.Contains(4, 4));
  EXPECT_TRUE(Region::FromRect({3, 3, 3, 9}).Empty());
}

TEST(Region, CombineOperations) {
  const Region a = Region::FromRect({0, 0, 4, 4});
  const Region b = Region::FromRect({2, 2, 6, 6});
  const Region both = Region::Combine(a, b, CombineMode::And);
  EXPECT_EQ(both.Bounds(), (Rect{2, 2, 4, 4}));
  EXPECT_EQ(Area(both), 4);
  EXPECT_EQ(Area(Region::Combine(a, b, CombineMode::Or)), 28);
  const Region either = Region::Combine(a, b, CombineMode::Xor);
  EXPECT_EQ(Area(either), 24);
  EXPECT_FALSE(either.Contains(3, 3));
  EXPECT_TRUE(either.Contains(1, 3));
  EXPECT_TRUE(either.Contains(5, 3));
  const Region diff = Region::Combine(a, b, CombineMode::Diff);
  EXPECT_EQ(Area(diff), 12);
  EXPECT_FALSE(diff.Contains(2, 2));
  EXPECT_TRUE(diff.Contains(3, 1));
  const Region copy = Region::Combine(a, b, CombineMode::Copy);
  EXPECT_EQ(copy.Bounds(), a.Bounds());
  EXPECT_EQ(Area(copy), 16);
}

TEST(Region, CombinedSpansStayMergedAndSorted) {
  // Two touching rectangles join into one span per row.
  const Region joined =
      Region::Combine(Region::FromRect({0, 0, 3, 2}), Region::FromRect({3, 0, 6, 2}), CombineMode::Or);
  ASSERT_EQ(joined.Spans().size(), 2u);
  EXPECT_EQ(joined.Spans()[0].x0, 0);
  EXPECT_EQ(joined.Spans()[0].x1, 6);
  // A hole splits rows into two spans.
  const Region ring =
      Region::Combine(Region::FromRect({0, 0, 5, 3}), Region::FromRect({2, 1, 3, 2}), CombineMode::Diff);
  const auto [first, last] = ring.RowRange(1);
  ASSERT_EQ(last - first, 2u);
  EXPECT_EQ(ring.Spans()[first].x1, 2);
  EXPECT_EQ(ring.Spans()[first + 1].x0, 3);
  EXPECT_TRUE(Region::Combine(ring, ring, CombineMode::Xor).Empty());
}

TEST(Region, FromSpansTakesTheUnionOfOverlappingSpans) {
  const Region r = Region::FromSpans({{1, 5, 8}, {0, 0, 2}, {1, 2, 6}, {1, 9, 10}});
  ASSERT_EQ(r.Spans().size(), 3u);
  EXPECT_EQ(r.Spans()[0].y, 0);
  EXPECT_EQ(r.Spans()[1].x0, 2);
  EXPECT_EQ(r.Spans()[1].x1, 8);
  EXPECT_EQ(r.Spans()[2].x0, 9);
}

TEST(Region, FromSpansInAnyOrderCoversExactlyTheirPixels) {
  // Shuffled spans over few rows (dealt out to rows), with rows of many
  // spans, and spread over many rows: each way the region holds the union.
  for (const int rows : {3, 40, 5000}) {
    for (const int count : {1, 17, 400}) {
      std::vector<Region::Span> spans;
      uint32_t seed = static_cast<uint32_t>(rows * 31 + count);
      const auto next = [&](int limit) { return static_cast<int>((seed = seed * 214013u + 2531011u) >> 16) % limit; };
      std::vector<std::vector<bool>> covered(static_cast<size_t>(rows), std::vector<bool>(120, false));
      for (int i = 0; i < count; ++i) {
        const int y = next(rows), x0 = next(100), x1 = x0 + 1 + next(20);
        spans.push_back({y - 7, x0, x1});
        for (int x = x0; x < x1; ++x) covered[static_cast<size_t>(y)][static_cast<size_t>(x)] = true;
      }
      const Region r = Region::FromSpans(spans);
      for (size_t i = 1; i < r.Spans().size(); ++i) {
        const Region::Span& a = r.Spans()[i - 1];
        const Region::Span& b = r.Spans()[i];
        ASSERT_TRUE(a.y < b.y || (a.y == b.y && a.x1 < b.x0)) << "spans out of order or not joined";
      }
      for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 120; ++x)
          ASSERT_EQ(r.Contains(x, y - 7), covered[static_cast<size_t>(y)][static_cast<size_t>(x)])
              << rows << " rows, " << count << " spans: " << x << "," << y;
    }
  }
}

TEST(Region, EllipseIsSymmetricAndLeavesOutRightAndBottomEdges) {
  const Region e = Region::FromEllipse({0, 0, 11, 9});
  EXPECT_EQ(e.Bounds(), (Rect{0, 0, 10, 8}));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(e.Contains(x, y), e.Contains(9 - x, y)) << x << "," << y;
      EXPECT_EQ(e.Contains(x, y), e.Contains(x, 7 - y)) << x << "," << y;
    }
  }
  EXPECT_FALSE(e.Contains(0, 0));
  EXPECT_TRUE(e.Contains(5, 4));
}

TEST(Region, PolygonFollowsTheTopLeftRule) {
  const Point square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  const Region r = Region::FromPolygon(square, 4, FillMode::Alternate);
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 4, 4}));
  EXPECT_EQ(Area(r), 16);
  // A triangle: its sloped edge rounds to whole pixel centres.
  const Point triangle[] = {{0, 0}, {4, 4}, {0, 4}};
  const Region t = Region::FromPolygon(triangle, 3, FillMode::Alternate);
  EXPECT_EQ(Area(t), 0 + 1 + 2 + 3);
  EXPECT_TRUE(t.Contains(0, 1));
  EXPECT_FALSE(t.Contains(1, 1));  // on the sloped right edge
  EXPECT_TRUE(t.Contains(2, 3));
}

TEST(Region, OffsetMovesEveryPixelAndFarShapesAreCutToTheRegionSpace) {
  Region r = Region::FromRect({0, 0, 2, 2});
  r.Offset(10, -3);
  EXPECT_EQ(r.Bounds(), (Rect{10, -3, 12, -1}));
  r.Offset(2000000000, 2000000000);  // saturates instead of overflowing
  EXPECT_FALSE(r.Empty());
  const Region huge = Region::FromRect({-1000000, -1000000, 1000000, 1000000});
  EXPECT_EQ(huge.Bounds(),
            (Rect{-Region::kRegionLimit, -Region::kRegionLimit, Region::kRegionLimit, Region::kRegionLimit}));
  const Point far[] = {{-1000000, -1000000}, {1000000, -1000000}, {0, 1000000}};
  const Region triangle = Region::FromPolygon(far, 3, FillMode::Winding);
  EXPECT_TRUE(triangle.Contains(0, 0));
  EXPECT_LE(triangle.Bounds().bottom, Region::kRegionLimit);
}

}  // namespace
}  // namespace fluxo::gdi

#include <gtest/gtest.h>

#include "gdi/surface_pictures.h"
#include "platform/gdi/bezier.h"
#include "platform/gdi/line_raster.h"

namespace fluxo::gdi {
namespace {

using test::Picture;
using Rows = std::vector<std::string>;

FrameSurface WhitePenSurface(int w, int h, int width = 0) {
  FrameSurface s(w, h);
  s.SelectPen(Pen::Solid(width, kWhite));
  return s;
}

TEST(Lines, OnePixelLineExcludesItsEndPoint) {
  FrameSurface s = WhitePenSurface(6, 3);
  s.MoveTo(0, 1);
  s.LineTo(4, 1);
  EXPECT_EQ(Picture(s), (Rows{"......", "####..", "......"}));
  // The current position moved to the end point: the next line starts there.
  s.LineTo(4, 3);
  EXPECT_EQ(Picture(s), (Rows{"......", "#####.", "....#."}));
}

TEST(Lines, VerticalDiagonalAndBackwards) {
  FrameSurface s = WhitePenSurface(5, 5);
  s.MoveTo(0, 4);
  s.LineTo(0, 0);
  s.MoveTo(1, 0);
  s.LineTo(5, 4);
  EXPECT_EQ(Picture(s), (Rows{".#...", "#.#..", "#..#.", "#...#", "#...."}));
}

TEST(Lines, ShallowLinesStepAtTheRoundedMinorPosition) {
  // y = round(x / 2) with halves rounding towards the start point.
  FrameSurface s = WhitePenSurface(5, 3);
  s.MoveTo(0, 0);
  s.LineTo(4, 2);
  EXPECT_EQ(Picture(s), (Rows{"##...", "..##.", "....."}));
  const LineWalk walk({0, 0}, {4, 2});
  EXPECT_EQ(walk.Steps(), 4);
  EXPECT_EQ(walk.At(2), (Point{2, 1}));
}

TEST(Lines, ZeroLengthLineDrawsNothing) {
  FrameSurface s = WhitePenSurface(3, 3);
  s.MoveTo(1, 1);
  s.LineTo(1, 1);
  EXPECT_EQ(test::CountPixels(s, kWhitePixel), 0);
}

TEST(Lines, FarEndPointsDrawTheSamePixelsAsTheFullWalk) {
  // Clipping before walking must not change which pixels are visible.
  const Point from{-699968, -524976}, to{700033, 525025};
  FrameSurface s = WhitePenSurface(64, 48);
  s.MoveTo(from.x, from.y);
  s.LineTo(to.x, to.y);
  FrameSurface expected(64, 48);
  const LineWalk walk(from, to);
  // Only steps near the surface can land on it; check those directly.
  for (int64_t i = 0; i < walk.Steps(); ++i) {
    const Point p = walk.At(i);
    if (p.x >= 0 && p.x < 64 && p.y >= 0 && p.y < 48) expected.MutablePixels()[p.y * 64 + p.x] = kWhitePixel;
  }
  EXPECT_GT(test::CountPixels(expected, kWhitePixel), 10);
  EXPECT_EQ(Picture(s), Picture(expected));
}

TEST(Lines, ForEachLinePointVisitsTheWholeWalkInOrder) {
  std::vector<Point> visited;
  ForEachLinePoint({3, 3}, {0, 1}, [&](int x, int y) { visited.push_back({x, y}); });
  EXPECT_EQ(visited, (std::vector<Point>{{3, 3}, {2, 2}, {1, 2}}));
}

TEST(Lines, PolylineSharesVerticesWithoutDrawingTheLastPoint) {
  FrameSurface s = WhitePenSurface(4, 4);
  const Point points[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
  s.Polyline(points, 4);
  EXPECT_EQ(Picture(s), (Rows{"####", "...#", "...#", ".###"}));
}

TEST(Lines, InvertingAPathChangesEachCoveredPixelOnceAndTwiceRestores) {
  const Point path[] = {{2, 3}, {30, 25}, {35, 4}, {5, 20}, {20, 2}};
  for (int width : {4, 7}) {
    // Where a white pen on black paints is where the inverting pen must act.
    FrameSurface mask = WhitePenSurface(40, 30, width);
    mask.Polyline(path, 5);
    FrameSurface s(40, 30);
    test::Scribble(s);
    const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + 40 * 30);
    s.SetMixMode(MixMode::InvertDestination);
    s.SelectPen(Pen::Solid(width, PaletteIndex(3)));
    s.Polyline(path, 5);
    for (int i = 0; i < 40 * 30; ++i) {
      const bool covered = mask.Pixels()[i] == kWhitePixel;
      ASSERT_EQ(s.Pixels()[i], covered ? before[i] ^ 0xFF : before[i]) << "width " << width << " pixel " << i;
    }
    s.Polyline(path, 5);
    EXPECT_EQ(std::vector<uint8_t>(s.Pixels(), s.Pixels() + 40 * 30), before);
  }
}

TEST(ThickPen, RoundEndsCoverTheEndPoints) {
  FrameSurface s = WhitePenSurface(11, 7, 5);
  s.MoveTo(3, 3);
  s.LineTo(7, 3);
  EXPECT_EQ(Picture(s), (Rows{"...........", "..#######..", ".#########.", ".#########.", ".#########.", "..#######..",
                              "..........."}));
}

TEST(ThickPen, EvenWidthsCoverExactlyThatManyPixelsAcross) {
  FrameSurface s = WhitePenSurface(12, 6, 2);
  s.MoveTo(2, 3);
  s.LineTo(9, 3);
  EXPECT_EQ(Picture(s),
            (Rows{"............", "............", ".#########..", ".#########..", "............", "............"}));
}

TEST(ThickPen, ADotIsARoundDisc) {
  FrameSurface s = WhitePenSurface(9, 9, 7);
  s.MoveTo(4, 4);
  s.LineTo(4, 4);
  EXPECT_EQ(Picture(s), (Rows{".........", "...###...", "..#####..", ".#######.", ".#######.", ".#######.", "..#####..",
                              "...###...", "........."}));
}

TEST(Bezier, FlattenedCurveStartsAndEndsExactly) {
  const Point controls[] = {{3, 40}, {-20, -30}, {90, 100}, {61, 7}, {0, 0}, {20, 20}, {17, 33}};
  const std::vector<Point> line = FlattenBezier(controls, 7);
  ASSERT_GT(line.size(), 8u);
  EXPECT_EQ(line.front(), controls[0]);
  EXPECT_EQ(line.back(), controls[6]);
  EXPECT_NE(std::find(line.begin(), line.end(), controls[3]), line.end());  // the joint
  // Every point stays inside the control points' hull box.
  for (const Point& p : line) {
    EXPECT_GE(p.x, -20);
    EXPECT_LE(p.x, 90);
    EXPECT_GE(p.y, -30);
    EXPECT_LE(p.y, 100);
  }
  EXPECT_TRUE(FlattenBezier(controls, 5).empty());  // not 3k + 1
  EXPECT_TRUE(FlattenBezier(controls, 1).empty());
}

TEST(Bezier, StraightCurveDrawsLikeALine) {
  FrameSurface s = WhitePenSurface(10, 3);
  const Point controls[] = {{0, 1}, {3, 1}, {6, 1}, {9, 1}};
  s.PolyBezier(controls, 4);
  EXPECT_EQ(Picture(s), (Rows{"..........", "#########.", ".........."}));
}

}  // namespace
}  // namespace fluxo::gdi

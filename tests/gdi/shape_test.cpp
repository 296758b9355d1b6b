#include <gtest/gtest.h>

#include <cmath>

#include "gdi/surface_pictures.h"

namespace fluxo::gdi {
namespace {

using Rows = std::vector<std::string>;

// '.' black, '#' white, 'o' anything else.
Rows Legend(const FrameSurface& s) {
  Rows rows = test::Picture(s);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const uint8_t v = s.PixelAt(x, y);
      rows[y][x] = v == kBlackPixel ? '.' : v == kWhitePixel ? '#' : 'o';
    }
  }
  return rows;
}

FrameSurface Canvas(int w, int h, Pen pen, Brush brush) {
  FrameSurface s(w, h);
  s.SelectPen(pen);
  s.SelectBrush(brush);
  return s;
}

TEST(Rectangle, PenOnTheBoxEdgeBrushInside) {
  FrameSurface s = Canvas(7, 5, Pen::StockWhite(), Brush::Solid(PaletteIndex(5)));
  s.Rectangle(1, 1, 5, 4);
  EXPECT_EQ(Legend(s), (Rows{".......", ".####..", ".#oo#..", ".####..", "......."}));
}

TEST(Rectangle, WithoutAPenIsOnePixelSmallerAndCornersMayComeInAnyOrder) {
  FrameSurface s = Canvas(7, 5, Pen::Null(), Brush::Solid(PaletteIndex(5)));
  s.Rectangle(5, 4, 1, 1);
  EXPECT_EQ(Legend(s), (Rows{".......", ".ooo...", ".ooo...", ".......", "......."}));
}

TEST(Ellipse, FilledWithoutPenLeavesOutRightAndBottom) {
  FrameSurface s = Canvas(6, 4, Pen::Null(), Brush::Solid(PaletteIndex(5)));
  s.Ellipse(0, 0, 6, 4);
  EXPECT_EQ(Legend(s), (Rows{".ooo..", "ooooo.", ".ooo..", "......"}));
}

TEST(Ellipse, OutlineRunsAroundTheFill) {
  FrameSurface s = Canvas(5, 3, Pen::StockWhite(), Brush::Solid(PaletteIndex(5)));
  s.Ellipse(0, 0, 5, 3);
  EXPECT_EQ(Legend(s), (Rows{".###.", "#ooo#", ".###."}));
}

TEST(Ellipse, OutlineTouchesEveryBoxSideAndIsSymmetric) {
  FrameSurface s = Canvas(24, 16, Pen::StockWhite(), Brush::Hollow());
  s.Ellipse(2, 1, 22, 15);
  EXPECT_EQ(test::BoundsOf(s, kWhitePixel), (Rect{2, 1, 22, 15}));
  EXPECT_EQ(s.PixelAt(2, 1), kBlackPixel);   // corners stay clear
  EXPECT_EQ(s.PixelAt(12, 8), kBlackPixel);  // hollow
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 24; ++x) {
      EXPECT_EQ(s.PixelAt(x, y), s.PixelAt(23 - x, y)) << x << "," << y;
      EXPECT_EQ(s.PixelAt(x, y), s.PixelAt(x, 15 - y)) << x << "," << y;
    }
  }
  // A closed curve: every outline pixel has at least two outline neighbours.
  for (int y = 1; y < 15; ++y) {
    for (int x = 2; x < 22; ++x) {
      if (s.PixelAt(x, y) != kWhitePixel) continue;
      int neighbours = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) neighbours += (dx || dy) && s.PixelAt(x + dx, y + dy) == kWhitePixel;
      }
      EXPECT_GE(neighbours, 2) << x << "," << y;
    }
  }
}

TEST(Ellipse, WidePenStrokesAroundTheCurve) {
  FrameSurface s = Canvas(40, 40, Pen::Solid(5, kWhite), Brush::Hollow());
  s.Ellipse(5, 5, 35, 35);
  // The stroke is centred on the outermost pixels: it reaches 2 beyond them.
  EXPECT_EQ(test::BoundsOf(s, kWhitePixel), (Rect{3, 3, 37, 37}));
  for (int x = 3; x < 8; ++x) EXPECT_EQ(s.PixelAt(x, 20), kWhitePixel) << x;
  EXPECT_EQ(s.PixelAt(8, 20), kBlackPixel);
  EXPECT_EQ(s.PixelAt(20, 20), kBlackPixel);
}

std::vector<Point> Pentagram(int cx, int cy, int radius) {
  std::vector<Point> points;
  for (int k = 0; k < 5; ++k) {
    const double angle = (-90.0 + 144.0 * k) * 3.14159265358979 / 180.0;
    points.push_back({cx + static_cast<int>(std::lround(radius * std::cos(angle))),
                      cy + static_cast<int>(std::lround(radius * std::sin(angle)))});
  }
  return points;
}

TEST(Polygon, WindingFillsTheStarCentreAndAlternateLeavesItEmpty) {
  const std::vector<Point> star = Pentagram(20, 20, 18);
  for (FillMode mode : {FillMode::Winding, FillMode::Alternate}) {
    FrameSurface s = Canvas(41, 41, Pen::Null(), Brush::StockWhite());
    s.SetPolyFillMode(mode);
    s.Polygon(star.data(), 5);
    EXPECT_EQ(s.PixelAt(20, 20), mode == FillMode::Winding ? kWhitePixel : kBlackPixel);
    EXPECT_EQ(s.PixelAt(20, 6), kWhitePixel);  // inside the top tip in both modes
    EXPECT_EQ(s.PixelAt(2, 2), kBlackPixel);
  }
}

TEST(Polygon, InteriorExcludesRightAndBottomEdgesThePenCoversThem) {
  const Point square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
  FrameSurface fill = Canvas(6, 6, Pen::Null(), Brush::Solid(PaletteIndex(5)));
  fill.Polygon(square, 4);
  EXPECT_EQ(Legend(fill), (Rows{"......", ".ooo..", ".ooo..", ".ooo..", "......", "......"}));
  FrameSurface outlined = Canvas(6, 6, Pen::StockWhite(), Brush::Solid(PaletteIndex(5)));
  outlined.Polygon(square, 4);
  EXPECT_EQ(Legend(outlined), (Rows{"......", ".####.", ".#oo#.", ".#oo#.", ".####.", "......"}));
}

TEST(Polygon, TwoPointsDrawALineThereAndBack) {
  FrameSurface s = Canvas(5, 1, Pen::StockWhite(), Brush::Solid(PaletteIndex(5)));
  const Point segment[] = {{0, 0}, {3, 0}};
  s.Polygon(segment, 2);
  EXPECT_EQ(Legend(s), (Rows{"####."}));
}

TEST(FilledShapes, FarCoordinatesCoverTheSurfaceWithoutOverflow) {
  FrameSurface s = Canvas(16, 8, Pen::Solid(3, Rgb(255, 0, 0)), Brush::StockWhite());
  s.Ellipse(-1000000, -1000000, 1000000, 1000000);
  EXPECT_EQ(test::CountPixels(s, kWhitePixel), 16 * 8);
  s.FillRect({0, 0, 16, 8}, Brush::StockBlack());
  s.Rectangle(-1000000, -1000000, 1000000, 1000000);
  EXPECT_EQ(test::CountPixels(s, kWhitePixel), 16 * 8);
  const Point far[] = {{-2000000000, 5}, {2000000000, 3}, {7, 2000000000}};
  s.SelectBrush(Brush::Solid(PaletteIndex(1)));
  s.Polygon(far, 3);
  EXPECT_EQ(s.PixelAt(8, 7), PixelOfEntry(1));
}

TEST(FillRect, FillsExactlyTheRectangleAndIgnoresEmptyOnes) {
  FrameSurface s(5, 3);
  s.FillRect({1, 1, 3, 2}, Brush::StockWhite());
  s.FillRect({4, 2, 2, 0}, Brush::StockWhite());  // reversed: empty, as on the platform
  s.FillRect({0, 0, 5, 3}, Brush::Hollow());
  EXPECT_EQ(Legend(s), (Rows{".....", ".##..", "....."}));
}

TEST(InvertRect, InvertsExactlyTheRectangleAndTwiceRestores) {
  FrameSurface s(9, 7);
  test::Scribble(s);
  const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + 63);
  const Rect r{2, 1, 7, 5};
  s.InvertRect(r);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      EXPECT_EQ(s.PixelAt(x, y), inside ? before[y * 9 + x] ^ 0xFF : before[y * 9 + x]);
    }
  }
  s.InvertRect(r);
  EXPECT_EQ(std::vector<uint8_t>(s.Pixels(), s.Pixels() + 63), before);
}

TEST(MixMode, InvertedFilledShapesChangeEachPixelOnce) {
  // Pen and brush cover disjoint pixels, so an inverted shape flips every
  // pixel it covers exactly once, whatever the pen width.
  for (int width : {1, 4}) {
    FrameSurface mask = Canvas(30, 20, Pen::Solid(width, kWhite), Brush::StockWhite());
    mask.Ellipse(3, 2, 27, 18);
    FrameSurface s = Canvas(30, 20, Pen::Solid(width, kWhite), Brush::Solid(PaletteIndex(9)));
    test::Scribble(s);
    const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + 600);
    s.SetMixMode(MixMode::InvertDestination);
    s.Ellipse(3, 2, 27, 18);
    for (int i = 0; i < 600; ++i) {
      ASSERT_EQ(s.Pixels()[i], mask.Pixels()[i] == kWhitePixel ? before[i] ^ 0xFF : before[i]) << width << " " << i;
    }
  }
}

TEST(SetPixel, PaintsOnePixelAndIgnoresOutsidePoints) {
  FrameSurface s(3, 2);
  s.SetPixel(2, 1, PaletteIndex(7));
  s.SetPixel(3, 1, kWhite);
  s.SetPixel(-1, 0, kWhite);
  s.SetPixel(0, 2, kWhite);
  EXPECT_EQ(Legend(s), (Rows{"...", "..o"}));
  EXPECT_EQ(s.PixelAt(2, 1), PixelOfEntry(7));
}

}  // namespace
}  // namespace fluxo::gdi

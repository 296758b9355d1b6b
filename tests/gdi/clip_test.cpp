#include <gtest/gtest.h>

#include <functional>

#include "gdi/surface_pictures.h"

namespace fluxo::gdi {
namespace {

constexpr int kW = 48, kH = 36;

// Every kind of operation, each drawing generously across the surface and
// beyond it.
struct Operation {
  const char* name;
  std::function<void(FrameSurface&)> draw;
};

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = {
      {"LineTo", [](FrameSurface& s) { s.MoveTo(-500, -400), s.LineTo(900, 700); }},
      {"WideLineTo", [](FrameSurface& s) { s.SelectPen(Pen::Solid(9, kWhite)), s.MoveTo(-50, 30), s.LineTo(90, 2); }},
      {"InvertedLine",
       [](FrameSurface& s) { s.SetMixMode(MixMode::InvertDestination), s.MoveTo(0, 35), s.LineTo(47, 0); }},
      {"Polyline",
       [](FrameSurface& s) {
         const Point p[] = {{-10, 5}, {60, 10}, {2, 40}, {40, -3}};
         s.Polyline(p, 4);
       }},
      {"PolyBezier",
       [](FrameSurface& s) {
         s.SelectPen(Pen::Solid(3, kWhite));
         const Point p[] = {{-10, 30}, {20, -40}, {60, 80}, {50, 2}};
         s.PolyBezier(p, 4);
       }},
      {"Polygon",
       [](FrameSurface& s) {
         const Point p[] = {{-20, -20}, {100, 10}, {10, 100}};
         s.Polygon(p, 3);
       }},
      {"Ellipse", [](FrameSurface& s) { s.SelectPen(Pen::Solid(6, kWhite)), s.Ellipse(-10, -5, 60, 40); }},
      {"Rectangle", [](FrameSurface& s) { s.Rectangle(-3, -3, 70, 30); }},
      {"FillRect",
       [](FrameSurface& s) {
         s.FillRect({-100, -100, 100, 100}, Brush::StockWhite());
       }},
      {"InvertRect",
       [](FrameSurface& s) {
         s.InvertRect({-100, -100, 100, 100});
       }},
      {"FillRegion",
       [](FrameSurface& s) {
         s.FillRegion(Region::FromEllipse({-20, -20, 70, 60}), Brush::Solid(PaletteIndex(2)));
       }},
      {"SetPixel",
       [](FrameSurface& s) {
         for (int y = 0; y < kH; ++y) {
           for (int x = 0; x < kW; ++x) s.SetPixel(x, y, kWhite);
         }
       }},
      {"BitBlt", [](FrameSurface& s) { s.BitBlt(-5, 3, 60, 40, 3, -2); }},
      {"StretchBlt", [](FrameSurface& s) { s.StretchBlt(kW - 1, 0, -kW, kH, 0, 0, 10, 7); }},
      {"StretchDib",
       [](FrameSurface& s) {
         const uint8_t bits[8] = {1, 2, 3, 4, 5, 6, 7, 8};
         s.StretchDib(-4, -4, 60, 50, 0, 0, 4, 2, bits, {4, 2});
       }},
      {"DrawEdge",
       [](FrameSurface& s) {
         s.DrawEdge({-1, -1, 40, 30}, kEdgeSunken, kBorderRect | kBorderMiddle);
       }},
      {"TextOut",
       [](FrameSurface& s) {
         for (int y = -8; y < kH; y += 10) s.TextOut(-3, y, "WWWWWWWWWW");
       }},
      {"DrawText",
       [](FrameSurface& s) {
         Rect r{-10, -10, 60, 50};
         s.SetBackgroundMode(BackgroundMode::Opaque);
         s.DrawText("Wide words wrap over many lines of this box", r, kTextWordBreak | kTextCenter);
       }},
  };
  return operations;
}

// A clip region with a hole and a notch: an ellipse minus a rectangle.
Region ClipShape() {
  return Region::Combine(Region::FromEllipse({4, 2, 44, 34}), Region::FromRect({18, 12, 30, 20}), CombineMode::Diff);
}

void Prepare(FrameSurface& s) {
  test::Scribble(s);
  s.SelectPen(Pen::Solid(1, kWhite));
  s.SelectBrush(Brush::Solid(PaletteIndex(40)));
  s.SetTextColor(kWhite);
}

class ClipTest : public ::testing::TestWithParam<size_t> {};

TEST_P(ClipTest, NothingIsDrawnOutsideTheClipRegion) {
  const Operation& op = Operations()[GetParam()];
  FrameSurface s(kW, kH);
  Prepare(s);
  const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + kW * kH);
  const Region clip = ClipShape();
  s.SelectClipRegion(&clip);
  op.draw(s);
  int changedInside = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool changed = s.PixelAt(x, y) != before[y * kW + x];
      if (!clip.Contains(x, y)) {
        ASSERT_FALSE(changed) << op.name << " drew at " << x << "," << y;
      }
      changedInside += changed ? 1 : 0;
    }
  }
  EXPECT_GT(changedInside, 0) << op.name << " drew nothing at all";
}

TEST_P(ClipTest, ExcludedRectanglesStayUntouched) {
  const Operation& op = Operations()[GetParam()];
  FrameSurface s(kW, kH);
  Prepare(s);
  const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + kW * kH);
  s.ExcludeClipRect({0, 0, kW, 8});
  s.ExcludeClipRect({20, 10, 28, 36});
  op.draw(s);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool excluded = y < 8 || (x >= 20 && x < 28 && y >= 10);
      if (excluded) {
        ASSERT_EQ(s.PixelAt(x, y), before[y * kW + x]) << op.name << " at " << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, ClipTest, ::testing::Range<size_t>(0, Operations().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(Operations()[info.param].name);
                         });

TEST(Clip, IntersectNarrowsAndNullRemovesTheClip) {
  FrameSurface s(10, 10);
  s.IntersectClipRect({2, 2, 8, 8});
  s.IntersectClipRect({5, 0, 20, 20});
  ASSERT_TRUE(s.ClipRegion().has_value());
  EXPECT_EQ(s.ClipRegion()->Bounds(), (Rect{5, 2, 8, 8}));
  s.FillRect({0, 0, 10, 10}, Brush::StockWhite());
  EXPECT_EQ(test::BoundsOf(s, kWhitePixel), (Rect{5, 2, 8, 8}));
  s.SelectClipRegion(nullptr);
  EXPECT_FALSE(s.ClipRegion().has_value());
  s.FillRect({0, 0, 10, 10}, Brush::StockWhite());
  EXPECT_EQ(test::CountPixels(s, kWhitePixel), 100);
}

TEST(Clip, SelectedRegionIsCutToTheSurface) {
  FrameSurface s(10, 10);
  const Region big = Region::FromRect({-50, -50, 50, 50});
  s.SelectClipRegion(&big);
  EXPECT_EQ(s.ClipRegion()->Bounds(), (Rect{0, 0, 10, 10}));
  const Region empty;
  s.SelectClipRegion(&empty);
  s.FillRect({0, 0, 10, 10}, Brush::StockWhite());
  EXPECT_EQ(test::CountPixels(s, kWhitePixel), 0);
}

}  // namespace
}  // namespace fluxo::gdi

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "module_checks.h"
#include "module_harness.h"
#include "modules/kit/overlay_boxes.h"
#include "modules/kit/vector_tiling.h"
#include "modules/squiggle.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

struct TileCall {
  std::vector<gdi::Point> points;
  gdi::Rect clipBounds;
};

std::vector<TileCall> RecordMirroredTiles(gdi::FrameSurface& surface, const kit::TileLayout& layout,
                                          const std::vector<gdi::Point>& figure) {
  std::vector<TileCall> calls;
  std::vector<gdi::Point> scratch(figure.size());
  kit::DrawInMirroredTiles(surface, layout, figure, scratch, [&](std::span<const gdi::Point> tiled) {
    const std::optional<gdi::Region> clip = surface.ClipRegion();
    calls.push_back({{tiled.begin(), tiled.end()}, clip ? clip->Bounds() : gdi::Rect{}});
  });
  return calls;
}

TEST(MirroredTilesTest, ColumnsOuterRowsInnerAndOddTilesMirrored) {
  gdi::FrameSurface surface(90, 40);
  ResetOverlayBoxes();
  const kit::TileLayout layout = kit::TileLayout::ForSurface(90, 40, 3, 2, 0);  // tiles of 30 x 20
  // Shrunk into a tile the figure is (4, 4) - (20, 15).
  const std::vector<TileCall> calls = RecordMirroredTiles(surface, layout, {{12, 8}, {60, 30}});
  const std::vector<std::vector<gdi::Point>> expected{
      {{4, 4}, {20, 15}},    // column 0, row 0
      {{4, 36}, {20, 25}},   // column 0, row 1: y -> 20 + (20 - y)
      {{56, 4}, {40, 15}},   // column 1, row 0: x -> 30 + (30 - x)
      {{56, 36}, {40, 25}},  // column 1, row 1: both
      {{64, 4}, {80, 15}},   // column 2, row 0
      {{64, 36}, {80, 25}},  // column 2, row 1
  };
  const std::vector<gdi::Rect> tiles{{0, 0, 30, 20},   {0, 20, 30, 40}, {30, 0, 60, 20},
                                     {30, 20, 60, 40}, {60, 0, 90, 20}, {60, 20, 90, 40}};
  ASSERT_EQ(calls.size(), expected.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].points, expected[i]) << "tile " << i;
    EXPECT_EQ(calls[i].clipBounds, tiles[i]) << "tile " << i;
  }
  EXPECT_FALSE(surface.ClipRegion().has_value());
}

TEST(MirroredTilesTest, OnlySelectedTilesAreVisited) {
  gdi::FrameSurface surface(40, 40);
  ResetOverlayBoxes();
  const kit::TileLayout odd = kit::TileLayout::ForSurface(40, 40, 2, 2, 1);
  const std::vector<TileCall> calls = RecordMirroredTiles(surface, odd, {{0, 0}});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].points[0], (gdi::Point{0, 40}));  // column 0, row 1: mirrored top-bottom
  EXPECT_EQ(calls[1].points[0], (gdi::Point{40, 0}));  // column 1, row 0: mirrored left-right
  const kit::TileLayout single = kit::TileLayout::ForSurface(40, 40, 1, 1, 1);
  EXPECT_TRUE(RecordMirroredTiles(surface, single, {{0, 0}}).empty());
}

TEST(MirroredTilesTest, DrawingStaysInsideItsTile) {
  gdi::FrameSurface surface(100, 20);
  std::fill_n(surface.MutablePixels(), 100 * 20, 0);
  ResetOverlayBoxes();
  // Only tile (1, 0) is selected; the mirrored line runs across the whole surface.
  const kit::TileLayout layout = kit::TileLayout::ForSurface(100, 20, 2, 1, 1);
  surface.SelectPen(gdi::Pen::Solid(0, gdi::PaletteIndex(5)));
  std::vector<gdi::Point> scratch(2);
  const std::vector<gdi::Point> line{{0, 10}, {200, 10}};
  kit::DrawInMirroredTiles(surface, layout, line, scratch, [&](std::span<const gdi::Point> tiled) {
    surface.Polyline(tiled.data(), static_cast<int>(tiled.size()));
  });
  for (int x = 0; x < 100; ++x) EXPECT_EQ(surface.PixelAt(x, 10) != 0, x >= 50) << "x " << x;
}

TEST(MirroredTilesTest, VisibleOverlayBoxesStayFree) {
  gdi::FrameSurface surface(60, 40);
  std::fill_n(surface.MutablePixels(), 60 * 40, 0);
  ResetOverlayBoxes();
  OverlayBoxes()[kDisplayNameBox] = {{5, 5, 25, 15}, 1234};
  const kit::TileLayout layout = kit::TileLayout::ForSurface(60, 40, 2, 2, 0);
  surface.SelectPen(gdi::Pen::Solid(0, gdi::PaletteIndex(9)));
  surface.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex(9)));
  std::vector<gdi::Point> scratch(4);
  // A filled square that covers every tile completely.
  const std::vector<gdi::Point> square{{-10, -10}, {200, -10}, {200, 200}, {-10, 200}};
  kit::DrawInMirroredTiles(surface, layout, square, scratch, [&](std::span<const gdi::Point> tiled) {
    surface.Polygon(tiled.data(), static_cast<int>(tiled.size()));
  });
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inBox = x >= 5 && x < 25 && y >= 5 && y < 15;
      ASSERT_EQ(surface.PixelAt(x, y) == 0, inBox) << x << "," << y;
    }
  // The box stays excluded for whatever is drawn next.
  ASSERT_TRUE(surface.ClipRegion().has_value());
  EXPECT_FALSE(surface.ClipRegion()->Contains(10, 10));
  EXPECT_TRUE(surface.ClipRegion()->Contains(30, 30));
  ResetOverlayBoxes();
}

TEST(SquiggleTilingTest, TheDefaultTwoByTwoTilesShowTheCurveMirroredIntoAKaleidoscope) {
  constexpr int kW = 120, kH = 80;  // tiles of 60 x 40
  ModuleHarness harness(kModuleSquiggle, kW, kH);
  ResetOverlayBoxes();
  SeedRandom(1234);
  kSquiggleOperations.allocate(&harness.slot());
  kSquiggleOperations.initialise(&harness.slot());
  kSquiggleOperations.frame(&harness.slot());
  EXPECT_GT(harness.CountNonBlack(), 10);
  EXPECT_EQ(test::CountUnmirroredPixels(harness.surface()), 0);
  kSquiggleOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

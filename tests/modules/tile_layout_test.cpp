#include "modules/kit/tile_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "modules/kit/vector_tiling.h"

namespace fluxo::kit {
namespace {

TEST(TileSelectedTest, TypesPickAllOddOrEvenTiles) {
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      const bool odd = (column + row) % 2 == 1;
      EXPECT_TRUE(TileSelected(column, row, 0));
      EXPECT_TRUE(TileSelected(column, row, 3));
      EXPECT_EQ(TileSelected(column, row, 1), odd) << column << "," << row;
      EXPECT_EQ(TileSelected(column, row, 2), !odd) << column << "," << row;
    }
  }
}

TEST(TileLayoutTest, CutsTheSurfaceByIntegerDivision) {
  const TileLayout layout = TileLayout::ForSurface(103, 50, 4, 3, 0);
  EXPECT_EQ(layout.tileWidth, 25);
  EXPECT_EQ(layout.tileHeight, 16);
  EXPECT_EQ(layout.Origin(2, 1), (gdi::Point{50, 16}));
  EXPECT_EQ(layout.Scale({103, -7}), (gdi::Point{25, -2}));  // truncates toward zero
}

TEST(TileLayoutTest, CountsBelowOneAreTakenAsOne) {
  const TileLayout layout = TileLayout::ForSurface(100, 80, 0, -3, 0);
  EXPECT_EQ(layout.columns, 1);
  EXPECT_EQ(layout.rows, 1);
  EXPECT_EQ(layout.tileWidth, 100);
  EXPECT_EQ(layout.tileHeight, 80);
}

TEST(TileLayoutTest, VectorOrderIsColumnsOuterRowsInner) {
  const TileLayout layout = TileLayout::ForSurface(30, 20, 3, 2, 2);
  std::vector<gdi::Point> visited;
  layout.ForEachSelectedTile([&](gdi::Point origin) { visited.push_back(origin); });
  // Type 2: (0,0), (1,1), (2,0) in column order.
  const std::vector<gdi::Point> expected{{0, 0}, {10, 10}, {20, 0}};
  EXPECT_EQ(visited, expected);
}

std::vector<std::vector<gdi::Point>> TiledCopies(const TileLayout& layout, std::span<const gdi::Point> figure) {
  std::vector<std::vector<gdi::Point>> copies;
  std::array<gdi::Point, 8> scratch;
  DrawInTiles(layout, figure, scratch, [&](std::span<const gdi::Point> copy) {
    copies.emplace_back(copy.begin(), copy.end());
  });
  return copies;
}

TEST(DrawInTilesTest, ShrinksTheFigureIntoEachSelectedTile) {
  const TileLayout layout = TileLayout::ForSurface(200, 100, 2, 2, 0);
  const std::array<gdi::Point, 2> figure{{{10, 20}, {199, 99}}};
  const auto copies = TiledCopies(layout, figure);
  ASSERT_EQ(copies.size(), 4u);
  const std::vector<gdi::Point> first{{5, 10}, {99, 49}};
  const std::vector<gdi::Point> last{{105, 60}, {199, 99}};
  EXPECT_EQ(copies[0], first);
  EXPECT_EQ(copies[3], last);
  const std::vector<gdi::Point> columnZeroRowOne{{5, 60}, {99, 99}};
  EXPECT_EQ(copies[1], columnZeroRowOne);
}

TEST(DrawInTilesTest, OneTileDrawsTheFigureUnchanged) {
  const TileLayout layout = TileLayout::ForSurface(200, 100, 1, 1, 0);
  const std::array<gdi::Point, 2> figure{{{10, 20}, {-30, 140}}};
  const auto copies = TiledCopies(layout, figure);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0], std::vector<gdi::Point>(figure.begin(), figure.end()));
}

TEST(DrawInTilesTest, TileTypeOneWithASingleTileDrawsNothing) {
  const TileLayout layout = TileLayout::ForSurface(200, 100, 1, 1, 1);
  const std::array<gdi::Point, 2> figure{{{10, 20}, {30, 40}}};
  EXPECT_TRUE(TiledCopies(layout, figure).empty());
}

}  // namespace
}  // namespace fluxo::kit

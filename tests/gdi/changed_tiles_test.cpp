#include "platform/gdi/changed_tiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace fluxo::gdi {
namespace {

constexpr int kW = ChangedTiles::kTileWidth;
constexpr int kH = ChangedTiles::kTileHeight;

TEST(ChangedTiles, NeighboursInABandJoinAndEdgeTilesStopAtTheFrame) {
  ChangedTiles tiles;
  tiles.Reset(4 * kW + 3, 2 * kH + 1, false);  // 5 columns, 3 bands, the last ones narrow
  EXPECT_FALSE(tiles.Any());
  EXPECT_TRUE(tiles.Rects().empty());

  tiles.Mark(0, 0);
  tiles.Mark(kW + 5, kH - 1);     // the next column of the same band: joined
  tiles.Mark(3 * kW, 0);          // a gap, then two more
  tiles.Mark(4 * kW + 2, 3);      // the narrow last column
  tiles.Mark(2 * kW, 2 * kH);     // the one-row last band
  tiles.Mark(2 * kW + 31, 2 * kH);  // the same tile again
  EXPECT_TRUE(tiles.Any());
  EXPECT_EQ(tiles.Rects(), (std::vector<Rect>{{0, 0, 2 * kW, kH},
                                              {3 * kW, 0, 4 * kW + 3, kH},
                                              {2 * kW, 2 * kH, 3 * kW, 2 * kH + 1}}));
}

TEST(ChangedTiles, ASpanMarksTheTilesItCoversAndNoMore) {
  ChangedTiles tiles;
  tiles.Reset(4 * kW + 3, 2 * kH, false);
  tiles.MarkSpan(kH, kW - 1, 2 * kW);  // ends exactly at a tile edge: the third column stays clear
  tiles.MarkSpan(0, 4 * kW, 4 * kW + 3);  // the narrow last column alone
  tiles.MarkSpan(kH - 1, 2 * kW + 5, 2 * kW + 6);  // one pixel
  EXPECT_EQ(tiles.Rects(), (std::vector<Rect>{{2 * kW, 0, 3 * kW, kH},
                                              {4 * kW, 0, 4 * kW + 3, kH},
                                              {0, kH, 2 * kW, 2 * kH}}));
  EXPECT_TRUE(tiles.Marked(1, 1));
  EXPECT_FALSE(tiles.Marked(2, 1));
  EXPECT_EQ(tiles.Columns(), 5);
  EXPECT_EQ(tiles.Bands(), 2);
}

// Bands spanning the same as the band right above join it, as a region
// keeps them; a gap or another span starts anew.
TEST(ChangedTiles, BandsOfTheSameSpansJoinVertically) {
  ChangedTiles tiles;
  tiles.Reset(4 * kW + 3, 5 * kH + 2, true);
  EXPECT_EQ(tiles.Rects(), (std::vector<Rect>{{0, 0, 4 * kW + 3, 5 * kH + 2}}));

  tiles.Reset(4 * kW, 6 * kH, false);
  for (int band : {0, 1, 2, 4, 5}) tiles.MarkTile(1, band), tiles.MarkTile(3, band);
  tiles.MarkTile(2, 5);  // the last band spans more
  EXPECT_EQ(tiles.Rects(), (std::vector<Rect>{{kW, 0, 2 * kW, 3 * kH},
                                              {3 * kW, 0, 4 * kW, 3 * kH},
                                              {kW, 4 * kH, 2 * kW, 5 * kH},
                                              {3 * kW, 4 * kH, 4 * kW, 5 * kH},
                                              {kW, 5 * kH, 4 * kW, 6 * kH}}));
}

TEST(ChangedTiles, ResetClearsOrFillsAtTheNewSize) {
  ChangedTiles tiles;
  tiles.Reset(10, 10, false);
  tiles.Mark(9, 9);
  tiles.Reset(kW + 1, 5, true);
  EXPECT_EQ(tiles.Width(), kW + 1);
  EXPECT_EQ(tiles.Height(), 5);
  EXPECT_EQ(tiles.Rects(), (std::vector<Rect>{{0, 0, kW + 1, 5}}));
  tiles.Reset(kW + 1, 5, false);
  EXPECT_TRUE(tiles.Rects().empty());
  tiles.Reset(0, 5, true);  // no frame: nothing to change
  EXPECT_FALSE(tiles.Any());
  EXPECT_TRUE(tiles.Rects().empty());
}

}  // namespace
}  // namespace fluxo::gdi

#include "modules/kit/tile_replication.h"

#include <gtest/gtest.h>

#include <vector>

#include "surface_patterns.h"

namespace fluxo::kit {
namespace {

using test::AsymmetricValue;
using test::PaintAsymmetricTile;

TileLayout Layout(int columns, int rows, int tileWidth, int tileHeight, int tileType) {
  return {columns, rows, tileWidth, tileHeight, tileType};
}

std::vector<uint8_t> Snapshot(const gdi::FrameSurface& surface) {
  return {surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height()};
}

// Every selected tile except `master` must be the master pattern, mirrored
// left-right in odd columns and top-bottom in odd rows; unselected tiles stay black.
void ExpectMirroredTiles(const gdi::FrameSurface& surface, const TileLayout& layout, int masterColumn) {
  const int w = layout.tileWidth;
  const int h = layout.tileHeight;
  for (int row = 0; row < layout.rows; ++row) {
    for (int column = 0; column < layout.columns; ++column) {
      const bool selected = layout.Selected(column, row);
      const bool isMaster = column == masterColumn && row == 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint8_t actual = surface.PixelAt(column * w + x, row * h + y);
          uint8_t expected = 0;
          if (isMaster)
            expected = AsymmetricValue(x, y);
          else if (selected)
            expected = AsymmetricValue(column % 2 ? w - 1 - x : x, row % 2 ? h - 1 - y : y);
          ASSERT_EQ(actual, expected) << "tile " << column << "," << row << " pixel " << x << "," << y;
        }
      }
    }
  }
}

class ReplicateTileTest : public ::testing::TestWithParam<int> {};

TEST_P(ReplicateTileTest, CopiesMirrorTheMasterInOddColumnsAndRows) {
  const int tileType = GetParam();
  gdi::FrameSurface surface(4 * 7, 3 * 5);
  std::fill_n(surface.MutablePixels(), 28 * 15, 0);
  const int masterColumn = tileType == 1 ? 1 : 0;
  PaintAsymmetricTile(surface, masterColumn * 7, 0, 7, 5);
  const TileLayout layout = Layout(4, 3, 7, 5, tileType);
  ReplicateTile(surface, layout);
  ExpectMirroredTiles(surface, layout, masterColumn);
}

INSTANTIATE_TEST_SUITE_P(AllTileTypes, ReplicateTileTest, ::testing::Values(0, 1, 2, 3));

// Draws the master tile ring by ring from the edge inward, replicating each
// ring as it is drawn, as the pixel-buffer modules do.
void ReplicateByRings(gdi::FrameSurface& surface, const TileLayout& layout, int masterColumn) {
  const int w = layout.tileWidth;
  const int h = layout.tileHeight;
  const int masterX = masterColumn * w;
  for (int k = 0; k <= (std::min(w, h) - 1) / 2; ++k) {
    const RingRect origin{k, k, w - 1 - k, h - 1 - k};
    const RingRect ring{origin.left + masterX, origin.top, origin.right + masterX, origin.bottom};
    for (int y = ring.top; y <= ring.bottom; ++y)
      for (int x = ring.left; x <= ring.right; ++x)
        if (y == ring.top || y == ring.bottom || x == ring.left || x == ring.right)
          surface.MutablePixels()[y * surface.Width() + x] = AsymmetricValue(x - masterX, y);
    ReplicateRing(surface, layout, ring.right - ring.left + 1, ring.bottom - ring.top + 1, ring, origin);
  }
}

class ReplicateRingTest : public ::testing::TestWithParam<int> {};

TEST_P(ReplicateRingTest, RingsBuildMirroredTiles) {
  const int tileType = GetParam();
  gdi::FrameSurface surface(3 * 9, 2 * 9);
  std::fill_n(surface.MutablePixels(), 27 * 18, 0);
  const int masterColumn = tileType == 1 ? 1 : 0;
  const TileLayout layout = Layout(3, 2, 9, 9, tileType);
  ReplicateByRings(surface, layout, masterColumn);
  ExpectMirroredTiles(surface, layout, masterColumn);
}

INSTANTIATE_TEST_SUITE_P(AllTileTypes, ReplicateRingTest, ::testing::Values(0, 1, 2));

TEST(TileReplicationTest, OneTileCopiesNothingBeyondTheMaster) {
  gdi::FrameSurface surface(20, 16);
  std::fill_n(surface.MutablePixels(), 20 * 16, 0);
  PaintAsymmetricTile(surface, 0, 0, 8, 6);
  const std::vector<uint8_t> before = Snapshot(surface);
  const TileLayout layout = Layout(1, 1, 8, 6, 0);
  ReplicateTile(surface, layout);
  ReplicateRing(surface, layout, 8, 6, {0, 0, 7, 5}, {0, 0, 7, 5});
  ReplicateRing(surface, layout, 6, 4, {1, 1, 6, 4}, {1, 1, 6, 4});
  EXPECT_EQ(Snapshot(surface), before);
}

TEST(TileReplicationTest, TileTypeOneWithASingleTileCopiesNothing) {
  gdi::FrameSurface surface(20, 16);
  std::fill_n(surface.MutablePixels(), 20 * 16, 0);
  PaintAsymmetricTile(surface, 8, 0, 8, 6);
  const std::vector<uint8_t> before = Snapshot(surface);
  const TileLayout layout = Layout(1, 1, 8, 6, 1);
  ReplicateTile(surface, layout);
  ReplicateRing(surface, layout, 8, 6, {8, 0, 15, 5}, {0, 0, 7, 5});
  EXPECT_EQ(Snapshot(surface), before);
}

}  // namespace
}  // namespace fluxo::kit

#include "modules/kit/tiled_stamp_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

class TiledStampLineTest : public ::testing::Test {
 protected:
  TiledStampLineTest() : surface_(kWidth, kHeight) {
    std::fill_n(surface_.MutablePixels(), kWidth * kHeight, 0);
    SeedRandom(31);
    // A square of radius 20, filled in the colour, stamped at every pixel.
    InitStamp(stamp_, &surface_, {4, 4, 4}, 10, 0, {20, 20, 20}, {0, 0, 0});
    stamp_.angle = {0, 0, 0};
  }

  // The bounding box of the non-black pixels inside the given rectangle.
  gdi::Rect Drawn(const gdi::Rect& area) const {
    gdi::Rect box{area.right, area.bottom, area.left - 1, area.top - 1};
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (surface_.PixelAt(x, y) != 0)
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    return box;
  }

  void Stamp(const TileLayout& layout, gdi::Point from, gdi::Point to) {
    SelectStampColour(stamp_, gdi::PaletteIndex(7));
    StampLineInTiles(layout, stamp_, from, to);
    ReleaseStampColour(stamp_);
  }

  gdi::FrameSurface surface_;
  ShapeStamp stamp_;
};

// The drawn square lies around `centre` and reaches `radius` out (the
// diamond's vertices truncate toward the centre, so one pixel less on some
// sides).
void ExpectSquare(const gdi::Rect& box, gdi::Point centre, int radius) {
  EXPECT_NEAR(box.left, centre.x - radius, 1);
  EXPECT_NEAR(box.right, centre.x + radius, 1);
  EXPECT_NEAR(box.top, centre.y - radius, 1);
  EXPECT_NEAR(box.bottom, centre.y + radius, 1);
}

TEST_F(TiledStampLineTest, OneTileDrawsTheStampAtFullSize) {
  Stamp(TileLayout::ForSurface(kWidth, kHeight, 1, 1, 0), {80, 60}, {81, 60});
  // Walked from (81, 60) toward (80, 60): one square at (81, 60).
  ExpectSquare(Drawn({0, 0, kWidth, kHeight}), {81, 60}, 20);
  EXPECT_EQ(stamp_.size[0], 20.0f);  // the caller's stamp keeps its size
}

TEST_F(TiledStampLineTest, FourTilesHalveTheStampAndScaleTheLineIntoEachQuarter) {
  Stamp(TileLayout::ForSurface(kWidth, kHeight, 2, 2, 0), {80, 60}, {82, 60});
  // (82, 60) scales to (41, 30); sizes are divided by (2 + 2) / 2 = 2.
  for (int column = 0; column < 2; ++column)
    for (int row = 0; row < 2; ++row) {
      SCOPED_TRACE(testing::Message() << "tile " << column << "," << row);
      const int ox = column * 80, oy = row * 60;
      ExpectSquare(Drawn({ox, oy, ox + 80, oy + 60}), {ox + 41, oy + 30}, 10);
    }
}

TEST_F(TiledStampLineTest, TheTileTypeChoosesTheTiles) {
  Stamp(TileLayout::ForSurface(kWidth, kHeight, 2, 2, 1), {80, 60}, {82, 60});
  EXPECT_LT(Drawn({0, 0, 80, 60}).right, 0);  // nothing drawn
  ExpectSquare(Drawn({80, 0, 160, 60}), {121, 30}, 10);
  ExpectSquare(Drawn({0, 60, 80, 120}), {41, 90}, 10);
  EXPECT_LT(Drawn({80, 60, 160, 120}).right, 80);
}

TEST_F(TiledStampLineTest, UnevenTileCountsDivideByTheirHalvedSum) {
  // 3 columns and 2 rows: (3 + 2) / 2 = 2 in integer halving.
  Stamp(TileLayout::ForSurface(kWidth, kHeight, 3, 2, 0), {90, 60}, {93, 60});
  ExpectSquare(Drawn({0, 0, 53, 60}), {31, 30}, 10);  // (93, 60) scales to (31, 30)
}

}  // namespace
}  // namespace fluxo::kit

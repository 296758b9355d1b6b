#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "modules/kit/shape_stamp.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr int kHeight = 80;

// Stamps a figure on a surface `width` wide and returns its first 100 columns.
std::vector<uint8_t> StampedColumns(int width, int x, int y, std::array<int, 3> sides, int type,
                                    std::array<int, 3> size) {
  gdi::FrameSurface surface(width, kHeight);
  std::fill_n(surface.MutablePixels(), width * kHeight, 0);
  SeedRandom(99);
  ShapeStamp stamp;
  InitStamp(stamp, &surface, sides, type, 0, size, {0, 0, 0});
  stamp.angle = {0.3f, 0.2f, 0.1f};
  SelectStampColour(stamp, gdi::PaletteIndex(5));
  StampShape(x, y, stamp);
  ReleaseStampColour(stamp);
  std::vector<uint8_t> columns;
  for (int row = 0; row < kHeight; ++row)
    for (int column = 0; column < 100; ++column) columns.push_back(surface.PixelAt(column, row));
  return columns;
}

int NonBlack(const std::vector<uint8_t>& pixels) {
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](uint8_t v) { return v != 0; }));
}

// A figure centred beside a narrow surface must look exactly like the same
// figure on a wide surface, seen through the narrow one.
void ExpectSameAsOnAWideSurface(int x, int y, std::array<int, 3> sides, int type, std::array<int, 3> size) {
  const std::vector<uint8_t> narrow = StampedColumns(100, x, y, sides, type, size);
  EXPECT_GT(NonBlack(narrow), 0);
  EXPECT_EQ(narrow, StampedColumns(400, x, y, sides, type, size));
}

TEST(ShapeStampCullingTest, FiguresReachingIntoTheSurfaceFromBesideAreDrawn) {
  ExpectSameAsOnAWideSurface(115, 40, {5, 5, 5}, 10, {20, 5, 5});  // level 0 filled
  ExpectSameAsOnAWideSurface(-15, 40, {5, 5, 5}, 10, {20, 5, 5});
  ExpectSameAsOnAWideSurface(50, -18, {6, 6, 6}, 11, {20, 5, 5});  // outline only
  ExpectSameAsOnAWideSurface(50, 98, {6, 6, 6}, 11, {20, 5, 5});
}

TEST(ShapeStampCullingTest, NestedLevelsReachFartherThanTheirCentre) {
  // Level 0 (radius 30) lies beside, but the level-2 figures on its vertices'
  // vertices reach back in.
  ExpectSameAsOnAWideSurface(138, 40, {4, 4, 4}, 15, {30, 10, 8});
  ExpectSameAsOnAWideSurface(-25, 40, {3, 5, 4}, 13, {30, 12, 8});
}

TEST(ShapeStampCullingTest, WideDotsReachByHalfTheirPen) {
  ExpectSameAsOnAWideSurface(110, 40, {1, 1, 1}, 9, {30, 1, 1});
}

TEST(ShapeStampCullingTest, FiguresWhollyBesideTheSurfaceDrawNothing) {
  EXPECT_EQ(NonBlack(StampedColumns(100, 140, 40, {4, 4, 4}, 15, {20, 5, 5})), 0);
}

}  // namespace
}  // namespace fluxo::kit

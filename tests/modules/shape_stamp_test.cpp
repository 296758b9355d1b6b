#include "modules/kit/shape_stamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr gdi::ColorRef kColour = gdi::PaletteIndex(40);
const uint8_t kColourPixel = gdi::PixelOfEntry(40);

class ShapeStampTest : public ::testing::Test {
 protected:
  ShapeStampTest() : surface_(120, 80) {
    std::fill_n(surface_.MutablePixels(), 120 * 80, 0);
    SeedRandom(4242);
  }

  ShapeStamp Stamp(std::array<int, 3> sides, int type, uint32_t spacing, std::array<int, 3> size,
                   std::array<float, 3> spin = {0.1f, 0.2f, 0.3f}) {
    ShapeStamp stamp;
    InitStamp(stamp, &surface_, sides, type, spacing, size, spin);
    return stamp;
  }

  uint8_t At(int x, int y) const { return surface_.PixelAt(x, y); }
  std::vector<uint8_t> Snapshot() const { return {surface_.Pixels(), surface_.Pixels() + 120 * 80}; }
  // The farthest any non-black pixel lies from (cx, cy) along either axis.
  int Reach(int cx, int cy) const {
    int reach = -1;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 120; ++x)
        if (At(x, y) != 0) reach = std::max({reach, std::abs(x - cx), std::abs(y - cy)});
    return reach;
  }

  gdi::FrameSurface surface_;
};

TEST_F(ShapeStampTest, DerivedTypesShrinkAndSpinLowerLevelsFromTheOneAbove) {
  const ShapeStamp stamp = Stamp({5, 3, 7}, 0, 2, {40, 10, 10});
  EXPECT_EQ(stamp.sides[1], 5);
  EXPECT_EQ(stamp.sides[2], 5);
  const float shrink = (stamp.size[1] - 1.0f) / stamp.size[0];
  EXPECT_GE(shrink, 1.0f / 5.5f - 1e-6f);
  EXPECT_LE(shrink, 1.0f / 1.5f + 1e-6f);
  EXPECT_NEAR(stamp.size[2], stamp.size[1] * shrink + 1.0f, 1e-4);
  // Each derived spin comes from the given spin of the level above.
  const float factor = stamp.spin[1] / 0.1f;
  EXPECT_GE(factor, 0.5f);
  EXPECT_LE(factor, 1.5f);
  EXPECT_NEAR(stamp.spin[2], 0.2f * factor, 1e-6);
  for (float angle : stamp.angle) {
    EXPECT_GE(angle, 0.0f);
    EXPECT_LE(angle, 1.0f);
  }
}

TEST_F(ShapeStampTest, TypesFromNineKeepTheLevelsGiven) {
  const ShapeStamp stamp = Stamp({5, 3, 7}, 13, 2, {40, 10, 12}, {0.1f, -0.2f, 0.3f});
  EXPECT_EQ(stamp.sides[0], 5);
  EXPECT_EQ(stamp.sides[1], 3);
  EXPECT_EQ(stamp.sides[2], 7);
  EXPECT_EQ(stamp.size[1], 10.0f);
  EXPECT_EQ(stamp.size[2], 12.0f);
  EXPECT_EQ(stamp.spin[1], -0.2f);
  EXPECT_EQ(stamp.fillStyle, 1);  // (13 mod 9) mod 3
  EXPECT_EQ(stamp.depth, 1);      // (13 mod 9) / 3
}

TEST_F(ShapeStampTest, TypePicksFillStyleAndDepth) {
  EXPECT_EQ(Stamp({5, 5, 5}, 5, 0, {40, 40, 40}).fillStyle, 2);
  EXPECT_EQ(Stamp({5, 5, 5}, 5, 0, {40, 40, 40}).depth, 1);
  EXPECT_EQ(Stamp({5, 5, 5}, 17, 0, {40, 40, 40}).depth, 2);
  EXPECT_EQ(Stamp({5, 5, 5}, 9, 0, {40, 40, 40}).fillStyle, 0);
  EXPECT_EQ(Stamp({5, 5, 5}, 9, 0, {40, 40, 40}).depth, 0);
}

TEST_F(ShapeStampTest, TwoSidedShapesAreOutlinesAndSmallShapesAreDots) {
  EXPECT_EQ(Stamp({2, 5, 5}, 9, 0, {40, 40, 40}).fillStyle, 2);
  const ShapeStamp small = Stamp({6, 6, 6}, 9, 0, {3, 40, 40});
  EXPECT_EQ(small.sides[0], 1);
  EXPECT_EQ(small.sides[1], 6);  // only the drawn level turns into a point
}

TEST_F(ShapeStampTest, ASizeBelowFourDrawsARoundDot) {
  const ShapeStamp stamp = Stamp({6, 6, 6}, 9, 0, {3, 40, 40});
  SelectStampColour(stamp, kColour);
  EXPECT_EQ(surface_.CurrentPen().width, 3);
  StampShape(60, 40, stamp);
  ReleaseStampColour(stamp);
  EXPECT_EQ(At(60, 40), kColourPixel);
  EXPECT_LE(Reach(60, 40), 3);
}

TEST_F(ShapeStampTest, FillStylesChooseOutlineAndInterior) {
  ShapeStamp stamp = Stamp({4, 4, 4}, 9, 0, {20, 4, 4});
  stamp.angle = {0, 0, 0};
  SelectStampColour(stamp, kColour);
  EXPECT_EQ(surface_.CurrentPen().color, gdi::kBlack);
  EXPECT_EQ(surface_.CurrentBrush().color, kColour);
  StampShape(60, 40, stamp);
  ReleaseStampColour(stamp);
  EXPECT_EQ(surface_.CurrentPen().color, gdi::kBlack);
  EXPECT_EQ(surface_.CurrentBrush().color, gdi::kBlack);
  EXPECT_EQ(At(60, 40), kColourPixel);
  // The diamond reaches 20 pixels out, its outline is black.
  EXPECT_GT(Reach(60, 40), 15);
  EXPECT_LT(Reach(60, 40), 20);

  const ShapeStamp filled = Stamp({4, 4, 4}, 10, 0, {20, 4, 4});
  SelectStampColour(filled, kColour);
  EXPECT_EQ(surface_.CurrentPen().color, kColour);
  EXPECT_EQ(surface_.CurrentBrush().style, gdi::Brush::Style::Solid);
  const ShapeStamp outline = Stamp({4, 4, 4}, 11, 0, {20, 4, 4});
  SelectStampColour(outline, kColour);
  EXPECT_EQ(surface_.CurrentPen().color, kColour);
  EXPECT_EQ(surface_.CurrentBrush().style, gdi::Brush::Style::Hollow);
  ReleaseStampColour(outline);
}

TEST_F(ShapeStampTest, DeeperLevelsAreDrawnAtTheVerticesOfTheLevelAbove) {
  ShapeStamp stamp = Stamp({4, 3, 3}, 12, 0, {20, 5, 5});  // depth 1, filled, black outline
  stamp.angle = {0, 0, 0};
  SelectStampColour(stamp, kColour);
  StampShape(60, 40, stamp);
  ReleaseStampColour(stamp);
  EXPECT_EQ(At(60, 40), 0);  // the level-0 square itself is not drawn
  // Level 0 vertices (sin, cos) at 0, 90, 180 and 270 degrees.
  EXPECT_EQ(At(60, 60), kColourPixel);
  EXPECT_EQ(At(80, 40), kColourPixel);
  EXPECT_EQ(At(60, 20), kColourPixel);
  EXPECT_EQ(At(40, 40), kColourPixel);
  EXPECT_LE(Reach(60, 40), 25);
}

TEST_F(ShapeStampTest, StampingAgainDrawsTheSameFigure) {
  // The nesting level must be back where it started after every stamp.
  ShapeStamp stamp = Stamp({4, 3, 3}, 12, 0, {12, 4, 4});
  stamp.angle = {0, 0, 0};
  SelectStampColour(stamp, kColour);
  StampShape(30, 40, stamp);
  StampShape(90, 40, stamp);
  const std::vector<uint8_t> both = Snapshot();
  std::fill_n(surface_.MutablePixels(), 120 * 80, 0);
  StampShape(90, 40, stamp);
  const std::vector<uint8_t> second = Snapshot();
  for (int y = 0; y < 80; ++y)
    for (int x = 60; x < 120; ++x) ASSERT_EQ(both[y * 120 + x], second[y * 120 + x]) << x << "," << y;
}

// A vertical bar of half-height 4 marks each stamp position along a line.
std::vector<int> StampColumns(const gdi::FrameSurface& surface, int y) {
  std::vector<int> columns;
  for (int x = 0; x < surface.Width(); ++x)
    if (surface.PixelAt(x, y) != 0) columns.push_back(x);
  return columns;
}

TEST_F(ShapeStampTest, StampedLinePlacesAShapeEverySpacingPlusOnePixels) {
  ShapeStamp stamp = Stamp({2, 2, 2}, 9, 4, {4, 4, 4}, {0, 0, 0});
  stamp.angle = {0, 0, 0};
  SelectStampColour(stamp, kColour);
  StampLine(40, 30, 20, 30, stamp);  // walked from (20, 30) toward (40, 30)
  EXPECT_EQ(StampColumns(surface_, 33), (std::vector<int>{20, 25, 30, 35}));
}

TEST_F(ShapeStampTest, ZeroSpacingStampsEveryPixel) {
  ShapeStamp stamp = Stamp({2, 2, 2}, 9, 0, {4, 4, 4}, {0.5f, 0, 0});
  stamp.angle = {0, 0, 0};
  SelectStampColour(stamp, kColour);
  StampLine(30, 30, 20, 30, stamp);
  // The spins become 0 along the line, so every bar stays upright.
  std::vector<int> expected;
  for (int x = 20; x < 30; ++x) expected.push_back(x);
  EXPECT_EQ(StampColumns(surface_, 33), expected);
}

TEST_F(ShapeStampTest, StampedLinesLeaveAnglesAndSpinsUnchanged) {
  ShapeStamp stamp = Stamp({5, 5, 5}, 3, 2, {8, 4, 4}, {0.3f, 0.2f, 0.1f});
  const ShapeStamp before = stamp;
  SelectStampColour(stamp, kColour);
  StampLine(100, 60, 10, 10, stamp);
  ReleaseStampColour(stamp);
  EXPECT_GT(std::count_if(surface_.Pixels(), surface_.Pixels() + 120 * 80, [](uint8_t v) { return v != 0; }), 0);
  EXPECT_EQ(stamp.angle, before.angle);
  EXPECT_EQ(stamp.spin, before.spin);
  EXPECT_EQ(stamp.counter, before.counter);
}

TEST_F(ShapeStampTest, PointShapesAtTheTopDrawAPlainLine) {
  ShapeStamp stamp = Stamp({1, 1, 1}, 9, 3, {1, 1, 1});
  SelectStampColour(stamp, kColour);
  StampLine(10, 10, 10, 20, stamp);  // equal x: the start moves one pixel right
  EXPECT_EQ(At(11, 10), kColourPixel);
  EXPECT_EQ(At(10, 20), 0);  // the end point is not drawn
}

}  // namespace
}  // namespace fluxo::kit

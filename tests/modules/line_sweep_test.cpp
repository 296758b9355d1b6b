#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "module_checks.h"
#include "trail_fixture.h"
#include "modules/line.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kDeltaX1 = 0,
  kDeltaY1 = 1,
  kDeltaX2 = 2,
  kDeltaY2 = 3,
  kX1 = 4,
  kY1 = 5,
  kX2 = 6,
  kY2 = 7,
  kTrailLength = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kSymmetry = 14,
};

constexpr int kW = 70;
constexpr int kH = 50;

// One end of the line, moved the way the description puts it: a step that
// would leave the box turns the velocity and keeps the coordinate.
struct End {
  gdi::Point at;
  gdi::Point velocity;

  void Move() {
    Axis(at.x, velocity.x, -40, kW + 40);
    Axis(at.y, velocity.y, -40, kH + 40);
  }
  static void Axis(int32_t& v, int32_t& d, int lo, int hi) {
    if (v + d < lo || v + d >= hi)
      d = -d;
    else
      v += d;
  }
};

struct Deltas {
  int x1, y1, x2, y2;
};

class LineSweepTest : public ::testing::TestWithParam<Deltas> {};

// Each frame fills exactly the band the line swept since the frame before.
TEST_P(LineSweepTest, EachFrameFillsTheBandTheLineSwept) {
  const Deltas d = GetParam();
  ModuleHarness harness(kModuleLine, kW, kH);
  harness.SetControl(kDeltaX1, d.x1);
  harness.SetControl(kDeltaY1, d.y1);
  harness.SetControl(kDeltaX2, d.x2);
  harness.SetControl(kDeltaY2, d.y2);
  harness.SetControl(kSymmetry, 1);
  kLineOperations.allocate(&harness.slot());
  kLineOperations.initialise(&harness.slot());

  End a{{25 * kW / 100, 25 * kH / 100}, {d.x1, d.y1}};
  End b{{75 * kW / 100, 75 * kH / 100}, {d.x2, d.y2}};
  int colour = 0;
  for (int frame = 0; frame < 80; ++frame) {
    SCOPED_TRACE(testing::Message() << "frame " << frame);
    const std::vector<uint8_t> before = harness.Pixels();
    const End a0 = a, b0 = b;
    a.Move();
    b.Move();
    colour = colour == 235 ? 234 : colour + 1;  // stays below the turn in 80 frames
    ASSERT_EQ(kLineOperations.frame(&harness.slot()), 0);

    gdi::FrameSurface band(kW, kH);
    std::fill_n(band.MutablePixels(), kW * kH, 0);
    band.SelectPen(gdi::Pen::Null());
    band.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex(1)));
    const std::array<gdi::Point, 4> quad{a.at, b.at, b0.at, a0.at};
    band.Polygon(quad.data(), 4);

    const std::vector<uint8_t> after = harness.Pixels();
    for (int i = 0; i < kW * kH; ++i) {
      const bool inBand = band.Pixels()[i] != 0;
      if (inBand) {
        ASSERT_EQ(after[i], gdi::PixelOfEntry(colour)) << "pixel " << i;
      } else {
        ASSERT_EQ(after[i], before[i]) << "pixel " << i;
      }
    }
  }
  kLineOperations.free(&harness.slot());
  EXPECT_GT(harness.CountNonBlack(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothEndsMoving, LineSweepTest, ::testing::Values(Deltas{7, 5, 3, 9}, Deltas{13, 0, 2, 11}));
// With one end standing still the ribbon is a fan around it.
INSTANTIATE_TEST_SUITE_P(OneEndStill, LineSweepTest, ::testing::Values(Deltas{6, 4, 0, 0}));

class LineTrailTest : public test::TrailTest {
 protected:
  LineTrailTest() : TrailTest(kModuleLine, kLineOperations, 80, 60, 11) {}
};

TEST_F(LineTrailTest, TheEraserBlackensEveryBandInEveryCopyAndTile) {
  harness_.SetControl(kTrailLength, 4);  // 12 frames
  harness_.SetControl(kXTiling, 2);
  harness_.SetControl(kYTiling, 3);
  harness_.SetControl(kTileType, 2);
  Start();
  Frames(50);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(LineTrailTest, DrivenDeltasAndCopiesAreErasedAsTheyWereDrawn) {
  harness_.SetControl(kTrailLength, 3);
  ControlBlock& c = harness_.slot().controls;
  for (int delta : {kDeltaX1, kDeltaY1, kDeltaX2, kDeltaY2}) {
    c.soundCapable[delta] = 1;  // a plug-in style definition lets sound drive them
    harness_.Oscillate(delta, 0, 50);
  }
  harness_.Oscillate(kSymmetry, 1, 20);
  harness_.Oscillate(kXTiling, 1, 4);
  Start();
  Frames(80);  // the deltas are at mid-range again
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(LineTrailTest, ADrivenDeltaKeepsTheDirectionOfItsEnd) {
  ControlBlock& c = harness_.slot().controls;
  c.soundCapable[kDeltaX1] = 1;
  harness_.Oscillate(kDeltaX1, 9, 9);  // always 9: only the direction may change
  harness_.SetControl(kDeltaY1, 0);
  harness_.SetControl(kDeltaX2, 0);
  harness_.SetControl(kDeltaY2, 0);
  harness_.SetControl(kSymmetry, 1);
  Start();
  // End 1 leaves x = 20 rightwards, turns at the box edge (x = 119) in frame
  // 12 and comes back: by frame 31 it has turned at the left box edge too, and
  // the band it sweeps reaches the surface's left edge. A driven speed taken
  // without its sign would hold the end at the right edge; one direction for
  // both of the end's corners would fold the band into a line after a turn.
  Frames(30);
  harness_.Clear();
  Frames(1);
  int leftmost = 80;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x)
      if (harness_.surface().PixelAt(x, y) != 0) leftmost = std::min(leftmost, x);
  EXPECT_EQ(leftmost, 0);
  Free();
}

TEST_F(LineTrailTest, AtTheDeadlineTheTrailIsErasedAndTheModuleStartsAgain) {
  harness_.SetControl(kTrailLength, 5);
  Start();
  Frames(8);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  ManualClock::now += 30 * 1000 + 1;
  Frames(1);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Frames(1);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(LineTrailTest, FullTrailLengthKeepsEverything) {
  Start();  // "Trail Length" 100: 300 frames, never erased
  Frames(40);
  const int drawn = harness_.CountNonBlack();
  EXPECT_GT(drawn, 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), drawn);
}

TEST(LineExtremesTest, EveryControlAtEitherEndOfItsRangeRunsAndErases) {
  SeedRandom(5);
  test::ForEachControlExtreme(
      kModuleLine, kLineOperations, 40, 30, 12, [](ModuleHarness& harness) { harness.SetControl(kTrailLength, 2); },
      [](ModuleHarness& harness, int control, int32_t value) {
        if (!(control == kTrailLength && value == 100)) {
          EXPECT_EQ(harness.CountNonBlack(), 0);
        }
      });
}

TEST(LineExtremesTest, DegenerateSurfacesAndTheLargestSymmetry) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 4000}, std::pair{4000, 1}}) {
    for (const int symmetry : {1, 20}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << " symmetry " << symmetry);
      ModuleHarness harness(kModuleLine, width, height);
      harness.SetControl(kSymmetry, symmetry);
      harness.SetControl(kTrailLength, 1);
      harness.SetControl(kXTiling, 5);
      harness.SetControl(kYTiling, 4);
      harness.SetControl(kDeltaX1, 50);
      test::RunModule(harness, kLineOperations, 6);
      EXPECT_EQ(harness.CountNonBlack(), 0);
    }
  }
}

TEST(LineExtremesTest, ValuesDrivenFarPastTheirRangeAreHeldToIt) {
  ModuleHarness harness(kModuleLine, 64, 48);
  harness.SetControl(kTrailLength, 1);
  harness.SetControl(kX1, 1 << 30);
  harness.SetControl(kY2, -(1 << 30));
  harness.Oscillate(kSymmetry, 1 << 20, 1 << 30);
  harness.Oscillate(kYTiling, -50, 0);
  test::RunModule(harness, kLineOperations, 5);
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <vector>

#include "module_checks.h"
#include "trail_fixture.h"
#include "modules/squiggle.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kPoints = 0,
  kRadius = 4,
  kTrailLength = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kSymmetry = 14,
  kWidth = 15,
};

class SquiggleTrailTest : public test::TrailTest {
 protected:
  SquiggleTrailTest() : TrailTest(kModuleSquiggle, kSquiggleOperations, 96, 72, 808) {}
};

TEST_F(SquiggleTrailTest, TheEraserBlackensExactlyWhatTheHeadDrew) {
  harness_.SetControl(kTrailLength, 4);  // 12 frames
  harness_.SetControl(kSymmetry, 5);
  harness_.SetControl(kWidth, 3);
  Start();
  Frames(40);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(SquiggleTrailTest, DrivenControlsAreErasedWithTheValuesTheyWereDrawnWith) {
  test::OscillateDrivenControls(harness_);  // tumble rates, tiling and symmetry
  harness_.Oscillate(kXTiling, 1, 4);       // keep the run short
  harness_.Oscillate(kYTiling, 1, 4);
  Start();
  Frames(60);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(SquiggleTrailTest, AtTheDeadlineTheTrailIsErasedAndTheModuleStartsAgain) {
  Start();  // "Trail Length" 1: 3 frames
  Frames(10);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  ManualClock::now += 30 * 1000 + 1;
  Frames(1);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Frames(1);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(SquiggleTrailTest, TrailLengthOneErasesEachCurveThreeFramesLater) {
  harness_.SetControl(kSymmetry, 1);
  Start();
  std::vector<std::vector<uint8_t>> alone;  // each frame's curve drawn on black
  for (int frame = 0; frame < 8; ++frame) {
    const std::vector<uint8_t> before = harness_.Pixels();
    Frames(1);
    const std::vector<uint8_t> after = harness_.Pixels();
    if (frame >= 3) {
      // The curve of frame - 3 is gone except where a newer curve crosses it.
      const std::vector<uint8_t>& old = alone[frame - 3];
      int left = 0;
      for (size_t i = 0; i < after.size(); ++i)
        if (old[i] != 0 && after[i] == old[i] && before[i] == old[i]) ++left;
      EXPECT_EQ(left, 0) << "frame " << frame;
    }
    std::vector<uint8_t> mine(after.size(), 0);
    for (size_t i = 0; i < after.size(); ++i)
      if (after[i] != before[i] || (after[i] != 0 && frame == 0)) mine[i] = after[i];
    alone.push_back(mine);
  }
  Free();
}

TEST(SquiggleExtremesTest, EveryControlAtEitherEndOfItsRangeRunsAndErases) {
  SeedRandom(17);
  test::ForEachControlExtreme(
      kModuleSquiggle, kSquiggleOperations, 48, 36, 10, [](ModuleHarness&) {},
      [](ModuleHarness& harness, int control, int32_t value) {
        if (!(control == kTrailLength && value == 100)) {
          EXPECT_EQ(harness.CountNonBlack(), 0);
        }
      });
}

TEST(SquiggleExtremesTest, DegenerateSurfacesAndTheLargestSymmetry) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 4000}, std::pair{4000, 1}, std::pair{21, 5}}) {
    for (const int symmetry : {1, 20}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << " symmetry " << symmetry);
      ModuleHarness harness(kModuleSquiggle, width, height);
      harness.SetControl(kSymmetry, symmetry);
      harness.SetControl(kPoints, 120);
      harness.SetControl(kXTiling, 5);
      SeedRandom(2);
      test::RunModule(harness, kSquiggleOperations, 4);
      EXPECT_EQ(harness.CountNonBlack(), 0);
    }
  }
}

TEST(SquiggleExtremesTest, RadiusZeroCollapsesTheCurveWithoutHarm) {
  ModuleHarness harness(kModuleSquiggle, 64, 48);
  harness.SetControl(kRadius, 0);
  harness.SetControl(kXTiling, 1);
  harness.SetControl(kYTiling, 1);
  SeedRandom(4);
  test::RunModule(harness, kSquiggleOperations, 8);
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

TEST(SquiggleExtremesTest, ValuesDrivenFarPastTheirRangeAreHeldToIt) {
  ModuleHarness harness(kModuleSquiggle, 64, 48);
  harness.SetControl(kPoints, 1 << 30);
  harness.SetControl(kWidth, -7);
  harness.Oscillate(kSymmetry, 1 << 20, 1 << 30);
  harness.Oscillate(kXTiling, -50, 0);
  SeedRandom(3);
  test::RunModule(harness, kSquiggleOperations, 4);
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

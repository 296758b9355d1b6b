#include <gtest/gtest.h>

#include <vector>

#include "module_checks.h"
#include "trail_fixture.h"
#include "modules/whip.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kWhips = 0,
  kSymmetry = 1,
  kTrailLength = 2,
  kWidth = 3,
  kObjectType = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kAngularity = 14,
  kDensity = 15,
  kDiameter2 = 20,
};

class WhipTrailTest : public test::TrailTest {
 protected:
  WhipTrailTest() : TrailTest(kModuleWhip, kWhipOperations, 90, 70, 4242) {}
};

TEST_F(WhipTrailTest, TheEraserBlackensExactlyWhatTheHeadDrew) {
  harness_.SetControl(kWhips, 3);
  harness_.SetControl(kSymmetry, 3);
  harness_.SetControl(kTrailLength, 7);
  harness_.SetControl(kDensity, 6);
  harness_.SetControl(kWidth, 20);
  harness_.SetControl(kAngularity, 15);
  Start();
  Frames(25);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(WhipTrailTest, NestedFilledStampsInTilesAreErasedToo) {
  harness_.SetControl(kObjectType, 12);  // own levels, filled with a black outline, drawn at level 1
  harness_.SetControl(kWidth, 14);
  harness_.SetControl(kDiameter2, 5);
  harness_.SetControl(kXTiling, 3);
  harness_.SetControl(kYTiling, 2);
  harness_.SetControl(kTileType, 1);
  harness_.SetControl(kDensity, 10);
  Start();
  Frames(25);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(WhipTrailTest, DrivenControlsAreErasedWithTheValuesTheyWereDrawnWith) {
  harness_.SetControl(kTrailLength, 5);
  harness_.SetControl(kDensity, 20);
  harness_.SetControl(kAngularity, 12);
  test::OscillateDrivenControls(harness_);
  harness_.Oscillate(kXTiling, 1, 3);  // keep the run short
  harness_.Oscillate(kYTiling, 1, 3);
  harness_.Oscillate(kSymmetry, 1, 6);
  Start();
  Frames(45);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(WhipTrailTest, AtTheDeadlineTheTrailIsErasedAndTheModuleStartsAgain) {
  harness_.SetControl(kTrailLength, 6);
  Start();
  Frames(10);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  ManualClock::now += 30 * 1000 + 1;  // "Duration" 30 s
  Frames(1);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Frames(1);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(WhipTrailTest, FullTrailLengthNeverErases) {
  harness_.SetControl(kTrailLength, 100);
  Start();
  ASSERT_NO_FATAL_FAILURE(FramesWithoutErasing(60));
  const int drawn = harness_.CountNonBlack();
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), drawn);
}

TEST_F(WhipTrailTest, ErasingStopsWhenTheRenderThreadStops) {
  harness_.SetControl(kTrailLength, 30);
  Start();
  Frames(20);
  const std::vector<uint8_t> drawn = harness_.Pixels();
  Saver().saverRunning.store(0);
  Free();
  EXPECT_EQ(harness_.Pixels(), drawn);
}

TEST(WhipExtremesTest, EveryControlAtEitherEndOfItsRangeRunsAndErases) {
  SeedRandom(99);
  test::ForEachControlExtreme(
      kModuleWhip, kWhipOperations, 48, 36, 6, [](ModuleHarness& harness) { harness.SetControl(kAngularity, 10); },
      [](ModuleHarness& harness, int control, int32_t value) {
        // Only a full trail length keeps what it drew.
        if (!(control == kTrailLength && value == 100)) {
          EXPECT_EQ(harness.CountNonBlack(), 0);
        }
      });
}

TEST(WhipExtremesTest, DegenerateSurfacesAndTheLargestSymmetry) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 4000}, std::pair{4000, 1}, std::pair{2, 3}}) {
    for (const int symmetry : {1, 32}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << " symmetry " << symmetry);
      ModuleHarness harness(kModuleWhip, width, height);
      harness.SetControl(kSymmetry, symmetry);
      harness.SetControl(kWhips, 6);
      harness.SetControl(kXTiling, 2);
      harness.SetControl(kYTiling, 3);
      harness.SetControl(kAngularity, 5);
      SeedRandom(7);
      test::RunModule(harness, kWhipOperations, 4);
      EXPECT_EQ(harness.CountNonBlack(), 0);
    }
  }
}

TEST(WhipExtremesTest, ValuesDrivenFarPastTheirRangeAreHeldToIt) {
  ModuleHarness harness(kModuleWhip, 64, 48);
  harness.SetControl(kWhips, 5000);
  harness.SetControl(kAngularity, -3);
  harness.Oscillate(kSymmetry, 1 << 20, 1 << 30);
  harness.Oscillate(kXTiling, -50, 0);
  harness.Oscillate(kWidth, 1 << 20, 1 << 30);
  SeedRandom(3);
  test::RunModule(harness, kWhipOperations, 4);
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

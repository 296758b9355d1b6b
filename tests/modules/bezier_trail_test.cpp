#include <gtest/gtest.h>

#include <vector>

#include "trail_fixture.h"
#include "modules/bezier.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kBeziers = 0, kSymmetry = 1, kTrailLength = 2, kWidth = 3, kSpeed = 4, kXTiling = 6, kYTiling = 7, kTileType = 8 };

class BezierTrailTest : public test::TrailTest {
 protected:
  BezierTrailTest() : TrailTest(kModuleBezier, kBezierOperations, 80, 60, 20240601) {}
};

TEST_F(BezierTrailTest, TheEraserBlackensExactlyWhatTheHeadDrew) {
  harness_.SetControl(kTrailLength, 5);  // a 15-frame trail
  harness_.SetControl(kBeziers, 3);
  harness_.SetControl(kSymmetry, 3);
  Start();
  Frames(40);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(BezierTrailTest, TiledTrailsAreErasedToo) {
  harness_.SetControl(kTrailLength, 2);
  harness_.SetControl(kSymmetry, 1);
  harness_.SetControl(kXTiling, 3);
  harness_.SetControl(kYTiling, 2);
  harness_.SetControl(kTileType, 2);
  Start();
  Frames(25);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(BezierTrailTest, DrivenControlsAreErasedWithTheValuesTheyWereDrawnWith) {
  harness_.SetControl(kTrailLength, 4);
  harness_.Oscillate(kSymmetry, 1, 6);
  harness_.Oscillate(kWidth, 1, 20);
  harness_.Oscillate(kSpeed, 1, 12);
  harness_.Oscillate(kXTiling, 1, 3);
  Start();
  Frames(60);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(BezierTrailTest, AtTheDeadlineTheTrailIsErasedAndTheModuleStartsAgain) {
  harness_.SetControl(kTrailLength, 5);
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

TEST_F(BezierTrailTest, FullTrailLengthNeverErases) {
  Start();  // "Trail Length" 100: 300 frames
  ASSERT_NO_FATAL_FAILURE(FramesWithoutErasing(320));
  const int drawn = harness_.CountNonBlack();
  ManualClock::now += 30 * 1000 + 1;
  Frames(1);
  EXPECT_GE(harness_.CountNonBlack(), drawn);
  Free();
  EXPECT_GE(harness_.CountNonBlack(), drawn);
}

TEST_F(BezierTrailTest, ErasingStopsWhenTheRenderThreadStops) {
  harness_.SetControl(kTrailLength, 10);  // 30 frames: nothing erased yet after 20
  Start();
  Frames(20);
  const std::vector<uint8_t> drawn = harness_.Pixels();
  Saver().saverRunning.store(0);
  Free();
  EXPECT_EQ(harness_.Pixels(), drawn);
}

TEST_F(BezierTrailTest, ADeadlineWhileStoppingLeavesTheTrail) {
  harness_.SetControl(kTrailLength, 10);
  Start();
  Frames(20);
  Saver().saverRunning.store(0);
  ManualClock::now += 30 * 1000 + 1;
  Frames(1);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
}

TEST_F(BezierTrailTest, AFrameWithoutAllocationDrawsNothing) {
  Free();
  kBezierOperations.initialise(&harness_.slot());
  Frames(3);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Free();
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <vector>

#include "trail_fixture.h"
#include "modules/cyclic.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kObjects = 0, kSpasticity = 1, kTrailLength = 2, kDiameter = 3, kPlanarSymmetry = 4, kObjectRotation = 5,
  kObjectSides = 6, kObjectType = 7, kXTiling = 10, kYTiling = 11, kTileType = 12, kDiameter2 = 14,
};

class CyclicTrailTest : public test::TrailTest {
 protected:
  CyclicTrailTest() : TrailTest(kModuleCyclic, kCyclicOperations, 80, 60, 424242) {
    harness_.SetControl(kDiameter, 6);  // small figures, so the surface does not fill up
  }
};

TEST_F(CyclicTrailTest, TheEraserBlackensExactlyWhatWasDrawn) {
  harness_.SetControl(kTrailLength, 5);  // 15 frames
  harness_.SetControl(kObjects, 7);
  harness_.SetControl(kPlanarSymmetry, 3);
  Start();
  Frames(50);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(CyclicTrailTest, NestedFiguresInTilesAreErasedToo) {
  harness_.SetControl(kTrailLength, 3);
  harness_.SetControl(kObjectSides, 5);
  harness_.SetControl(kObjectType, 4);  // derived levels, level 2 drawn, filled in the colour
  harness_.SetControl(kDiameter, 30);
  harness_.SetControl(kXTiling, 2);
  harness_.SetControl(kYTiling, 3);
  harness_.SetControl(kTileType, 2);
  Start();
  Frames(30);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(CyclicTrailTest, BlackOutlinesAndBreathingSizesAreErasedToo) {
  harness_.SetControl(kTrailLength, 4);
  harness_.SetControl(kObjectSides, 3);
  harness_.SetControl(kObjectType, 9);  // black outline, own levels
  harness_.SetControl(kDiameter, 0);    // sizes breathe every frame
  Start();
  // Figures this large cover the surface; the eraser then blackens newer
  // figures under old ones, so look while the trail is still filling.
  Frames(8);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Frames(32);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(CyclicTrailTest, DrivenControlsAreErasedWithTheValuesTheyWereDrawnWith) {
  harness_.SetControl(kTrailLength, 6);
  harness_.SetControl(kObjectSides, 4);
  harness_.SetControl(kObjectType, 10);
  harness_.Oscillate(kSpasticity, -50, 50);
  harness_.Oscillate(kDiameter, 0, 25);
  harness_.Oscillate(kPlanarSymmetry, 1, 6);
  harness_.Oscillate(kObjectRotation, -100, 100);
  harness_.Oscillate(kXTiling, 1, 3);
  harness_.Oscillate(kYTiling, 3, 1);
  harness_.Oscillate(kDiameter2, 0, 40);
  Start();
  Frames(90);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(CyclicTrailTest, AtTheDeadlineTheTrailIsErasedAndTheModuleStartsAgain) {
  harness_.SetControl(kTrailLength, 5);
  Start();
  Frames(10);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  ManualClock::now += 30 * 1000 + 1;  // "Duration" 30 s
  Frames(1);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Frames(2);
  EXPECT_GT(harness_.CountNonBlack(), 0);
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

TEST_F(CyclicTrailTest, FullTrailLengthNeverErases) {
  Start();  // "Trail Length" 100: 300 frames
  ASSERT_NO_FATAL_FAILURE(FramesWithoutErasing(320));
  const int drawn = harness_.CountNonBlack();
  Free();
  EXPECT_EQ(harness_.CountNonBlack(), drawn);
}

TEST_F(CyclicTrailTest, ErasingStopsWhenTheRenderThreadStops) {
  harness_.SetControl(kTrailLength, 10);  // 30 frames: nothing erased yet after 20
  Start();
  Frames(20);
  const std::vector<uint8_t> drawn = harness_.Pixels();
  Saver().saverRunning.store(0);
  Free();
  EXPECT_EQ(harness_.Pixels(), drawn);
}

TEST_F(CyclicTrailTest, AFrameWithoutAllocationDrawsNothing) {
  kCyclicOperations.initialise(&harness_.slot());
  Frames(3);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
  Free();
}

}  // namespace
}  // namespace fluxo

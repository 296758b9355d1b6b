#include <gtest/gtest.h>

#include <vector>

#include "module_harness.h"
#include "modules/vortex.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kPointsOnEdge = 0, kImageDuration = 3, kCollapseRate = 5, kFluxAmplitude = 7 };

constexpr int32_t kWaiting = 42;

class VortexCollapseTest : public ::testing::Test {
 protected:
  VortexCollapseTest() : harness_(kModuleVortex, 200, 150) {
    SeedRandom(606);
    harness_.SetControl(kCollapseRate, 50);  // a radius of 125 collapses in three frames
  }
  ~VortexCollapseTest() override { kVortexOperations.free(&harness_.slot()); }

  void Start() {
    kVortexOperations.allocate(&harness_.slot());
    kVortexOperations.initialise(&harness_.slot());
  }
  int32_t Frame() { return kVortexOperations.frame(&harness_.slot()); }

  // Runs frames until one draws nothing; returns how many drew.
  int FramesUntilCollapsed() {
    int drawing = 0;
    for (int i = 0; i < 100; ++i) {
      const std::vector<uint8_t> before = harness_.Pixels();
      EXPECT_EQ(Frame(), kWaiting);
      if (harness_.Pixels() == before) return drawing;
      ++drawing;
    }
    return drawing;
  }

  ModuleHarness harness_;
};

TEST_F(VortexCollapseTest, TheRingShrinksUntilNoRadiusIsLeftThenWaits) {
  Start();
  // Radius 125, then 125 - c, 125 - 2c, ... with c in 50..51: the ring is drawn
  // while some radius is not negative, plus the frame that finds none.
  const int drawing = FramesUntilCollapsed();
  EXPECT_GE(drawing, 2);
  EXPECT_LE(drawing, 4);
  const std::vector<uint8_t> collapsed = harness_.Pixels();
  for (int i = 0; i < 20; ++i) {
    ManualClock::now += 500;  // "Image Duration" 20 s has not run out
    EXPECT_EQ(Frame(), kWaiting);
  }
  EXPECT_EQ(harness_.Pixels(), collapsed);
}

TEST_F(VortexCollapseTest, AfterTheImageDurationANewVortexStartsOverTheOldPicture) {
  Start();
  FramesUntilCollapsed();
  const std::vector<uint8_t> old = harness_.Pixels();
  ManualClock::now += 20 * 1000 + 1;
  EXPECT_EQ(Frame(), 0);  // only the restarting frame reports itself due
  EXPECT_EQ(harness_.Pixels(), old);
  EXPECT_EQ(Frame(), kWaiting);
  EXPECT_NE(harness_.Pixels(), old);
  EXPECT_GT(FramesUntilCollapsed(), 0);
}

TEST_F(VortexCollapseTest, ImageDurationZeroStartsTheNextVortexOnTheFirstFrameAfterTheCollapse) {
  harness_.SetControl(kImageDuration, 0);
  Start();
  int restarts = 0;
  for (int i = 0; i < 40; ++i) {
    ManualClock::now += 10;  // the render loop sleeps after every waiting frame
    if (Frame() == 0) ++restarts;
  }
  // Each vortex draws for at most four frames and restarts on the next.
  EXPECT_GE(restarts, 8);
}

TEST_F(VortexCollapseTest, AStarShapedRingLivesWhileAnyPointIsOut) {
  harness_.SetControl(kFluxAmplitude, 400);
  Start();
  // With radius flux 400 the outermost points are still out long after the
  // mean radius has gone below zero: (125 + 400) / 50 frames and more.
  EXPECT_GE(FramesUntilCollapsed(), 10);
}

TEST_F(VortexCollapseTest, DrivenValuesFarPastTheirRangeStillCollapse) {
  // A negative collapse rate would grow the ring for ever, a spasticity over
  // 300 would divide the spin by zero or less.
  harness_.SetControl(kImageDuration, 0);
  harness_.Oscillate(kCollapseRate, -2000000000, -1000000000);
  harness_.Oscillate(1, 1000000000, 2000000000);  // "Spasticity"
  Start();
  int restarts = 0;
  for (int i = 0; i < 400; ++i) {
    ManualClock::now += 10;
    if (Frame() == 0) ++restarts;
  }
  // Held to a rate of 1, a radius of 125 collapses in about 126 frames.
  EXPECT_GE(restarts, 2);
}

}  // namespace
}  // namespace fluxo

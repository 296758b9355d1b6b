#include <gtest/gtest.h>

#include <string>

#include "module_harness.h"
#include "modules/cyclic.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kObjects = 0, kSpasticity = 1, kTrailLength = 2, kDiameter = 3, kPlanarSymmetry = 4, kObjectRotation = 5,
  kObjectSides = 6, kObjectType = 7, kDuration = 8, kXTiling = 10, kYTiling = 11, kTileType = 12, kDiameter2 = 14,
  kRotation2 = 15, kSides2 = 16, kDiameter3 = 17, kRotation3 = 18, kSides3 = 19,
};

struct Surface {
  int width;
  int height;
};

// Every case runs with a short trail: once the module is freed, the surface
// must be black again whatever the controls did.
class CyclicExtremesTest : public ::testing::TestWithParam<Surface> {
 protected:
  CyclicExtremesTest() : harness_(kModuleCyclic, GetParam().width, GetParam().height) {
    harness_.SetControl(kTrailLength, 1);
  }

  void RunAndFree(int frames, bool advanceClock = false) {
    kCyclicOperations.allocate(&harness_.slot());
    kCyclicOperations.initialise(&harness_.slot());
    for (int i = 0; i < frames; ++i) {
      if (advanceClock) ManualClock::now += 1001;
      ASSERT_EQ(kCyclicOperations.frame(&harness_.slot()), 0);
    }
    kCyclicOperations.free(&harness_.slot());
    EXPECT_EQ(harness_.CountNonBlack(), 0);
  }

  ModuleHarness harness_;
};

TEST_P(CyclicExtremesTest, MostObjectsCopiesAndTilesAtEitherEndOfSpasticity) {
  for (int spasticity : {-50, 50}) {
    SeedRandom(11);
    harness_.SetControl(kSpasticity, spasticity);
    harness_.SetControl(kObjects, 99);
    harness_.SetControl(kPlanarSymmetry, 32);
    harness_.SetControl(kXTiling, 20);
    harness_.SetControl(kYTiling, 20);
    harness_.SetControl(kDiameter, 1);
    RunAndFree(1);  // 99 x 32 x 400 stamped lines, and as many to erase them
  }
}

TEST_P(CyclicExtremesTest, LargestNestedShapes) {
  for (int type : {6, 8, 15, 17}) {
    SeedRandom(12 + type);
    harness_.SetControl(kObjectType, type);
    for (int sides : {kObjectSides, kSides2, kSides3}) harness_.SetControl(sides, 10);
    for (int size : {kDiameter, kDiameter2, kDiameter3}) harness_.SetControl(size, 320);
    for (int spin : {kObjectRotation, kRotation2, kRotation3}) harness_.SetControl(spin, 100);
    RunAndFree(5);
  }
}

TEST_P(CyclicExtremesTest, EveryDrivenControlSweepsItsRange) {
  SeedRandom(13);
  harness_.SetControl(kTileType, 1);
  harness_.SetControl(kObjectSides, 3);
  harness_.SetControl(kObjectType, 12);
  harness_.Oscillate(kSpasticity, -50, 50);
  harness_.Oscillate(kDiameter, 0, 320);
  harness_.Oscillate(kPlanarSymmetry, 32, 1);
  harness_.Oscillate(kObjectRotation, -100, 100);
  harness_.Oscillate(kXTiling, 1, 20);
  harness_.Oscillate(kYTiling, 20, 1);
  harness_.Oscillate(kDiameter2, 0, 320);
  harness_.Oscillate(kRotation2, 100, -100);
  harness_.Oscillate(kDiameter3, 320, 0);
  harness_.Oscillate(kRotation3, -100, 100);
  // A quarter of the usual 40 frames per oscillation keeps this quick.
  for (int i = 0; i < kControlCount; ++i) harness_.slot().controls.sense[i] = 40;
  RunAndFree(12);
}

TEST_P(CyclicExtremesTest, DrivenValuesFarPastTheirRangeAreHeldToIt) {
  SeedRandom(14);
  harness_.SetControl(kObjects, 1);
  harness_.SetControl(kObjectSides, 4);
  harness_.SetControl(kObjectType, 9);
  harness_.Oscillate(kSpasticity, -2000000000, -1000000000);
  harness_.Oscillate(kDiameter, 1000000000, 2000000000);
  harness_.Oscillate(kPlanarSymmetry, 1000000000, 2000000000);
  harness_.Oscillate(kXTiling, -100, 0);
  harness_.Oscillate(kYTiling, 1000000000, 2000000000);
  RunAndFree(2);
}

TEST_P(CyclicExtremesTest, AShortDurationRestartsEveryFrame) {
  SeedRandom(15);
  harness_.SetControl(kDuration, 1);
  harness_.SetControl(kTrailLength, 2);
  RunAndFree(20, /*advanceClock=*/true);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, CyclicExtremesTest,
                         ::testing::Values(Surface{1, 1}, Surface{1, 4000}, Surface{4000, 1}, Surface{64, 48}),
                         [](const ::testing::TestParamInfo<Surface>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace fluxo

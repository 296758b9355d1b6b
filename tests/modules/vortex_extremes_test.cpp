#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "module_harness.h"
#include "modules/vortex.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kPointsOnEdge = 0, kSpasticity = 1, kAmplitude = 2, kImageDuration = 3, kType = 4, kCollapseRate = 5,
  kRadiusFlux = 6, kFluxAmplitude = 7, kXTiling = 10, kYTiling = 11, kTileType = 12,
};

constexpr int32_t kWaiting = 42;

struct Surface {
  int width;
  int height;
};

class VortexExtremesTest : public ::testing::TestWithParam<Surface> {
 protected:
  VortexExtremesTest() : harness_(kModuleVortex, GetParam().width, GetParam().height) {
    harness_.SetControl(kImageDuration, 0);
  }

  // Runs the frames with the clock moving as the render loop's sleeps move
  // it; returns how many vortices were started again.
  int Run(int frames) {
    kVortexOperations.allocate(&harness_.slot());
    kVortexOperations.initialise(&harness_.slot());
    int restarts = 0;
    for (int i = 0; i < frames; ++i) {
      ManualClock::now += 10;
      const int32_t result = kVortexOperations.frame(&harness_.slot());
      EXPECT_TRUE(result == 0 || result == kWaiting) << result;
      restarts += result == 0;
    }
    kVortexOperations.free(&harness_.slot());
    return restarts;
  }

  ModuleHarness harness_;
};

TEST_P(VortexExtremesTest, FewestAndMostPointsInEveryColourType) {
  for (int points : {2, 199}) {
    for (int type = 0; type <= 5; ++type) {
      SeedRandom(static_cast<uint32_t>(points * 10 + type));
      harness_.SetControl(kPointsOnEdge, points);
      harness_.SetControl(kType, type);
      harness_.SetControl(kCollapseRate, 50);
      EXPECT_GT(Run(60), 0) << points << " points, type " << type;  // 2000 / 50 frames at most
    }
  }
}

TEST_P(VortexExtremesTest, FastestSwirlWithTheLargestFluxInTheMostTiles) {
  SeedRandom(31);
  harness_.SetControl(kSpasticity, 300);
  harness_.SetControl(kAmplitude, 200);
  harness_.SetControl(kRadiusFlux, 100);
  harness_.SetControl(kFluxAmplitude, 400);
  harness_.SetControl(kCollapseRate, 50);
  harness_.SetControl(kXTiling, 20);
  harness_.SetControl(kYTiling, 20);
  harness_.SetControl(kTileType, 1);
  Run(15);  // 200 tiles x 60 bands a frame
}

TEST_P(VortexExtremesTest, SlowestCollapseStillEnds) {
  SeedRandom(32);
  harness_.SetControl(kSpasticity, 1);
  harness_.SetControl(kAmplitude, 1);
  harness_.SetControl(kCollapseRate, 1);
  harness_.SetControl(kFluxAmplitude, 0);
  harness_.SetControl(kRadiusFlux, 0);
  // At most the half-diagonal plus one frames a vortex (2001 on 1 x 4000).
  const int halfDiagonal = static_cast<int>(std::hypot(GetParam().width / 2, GetParam().height / 2));
  EXPECT_GT(Run(halfDiagonal + 10), 0);
}

TEST_P(VortexExtremesTest, EveryDrivenControlSweepsItsRange) {
  SeedRandom(33);
  harness_.Oscillate(kSpasticity, 1, 300);
  harness_.Oscillate(kAmplitude, 200, 1);
  harness_.Oscillate(kCollapseRate, 1, 50);
  harness_.Oscillate(kRadiusFlux, 0, 100);
  harness_.Oscillate(kFluxAmplitude, 400, 0);
  harness_.Oscillate(kXTiling, 1, 20);
  harness_.Oscillate(kYTiling, 20, 1);
  // A quarter of the usual 40 frames per oscillation keeps this quick.
  for (int i = 0; i < kControlCount; ++i) harness_.slot().controls.sense[i] = 40;
  Run(30);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, VortexExtremesTest,
                         ::testing::Values(Surface{1, 1}, Surface{1, 4000}, Surface{4000, 1}, Surface{64, 48}),
                         [](const ::testing::TestParamInfo<Surface>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace fluxo

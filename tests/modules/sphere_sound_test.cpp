#include <gtest/gtest.h>

#include <cmath>

#include "module_harness.h"
#include "modules/sphere.h"
#include "sound/feed_fixture.h"

namespace fluxo {
namespace {

enum { kSize = 0, kSymmetry = 1 };

// A Sphere whose distance follows the overall volume: the companion runs and
// modules follow the music.
class SphereSoundTest : public test::FeedTest {
 protected:
  void SetUp() override {
    test::FeedTest::SetUp();
    SetCompanion(true, true, false);
  }
  // Runs frames at the given level and returns the distance from the centre
  // of the nearest and the farthest drawn pixel.
  std::pair<double, double> DrawnDistances(float level) {
    test::ModuleHarness harness(kModuleSphere, 200, 160);
    harness.SetControl(kSize, 120);
    harness.SetControl(kSymmetry, 8);
    PublishFixed(level, level, 1.0f);
    SeedRandom(3);
    kSphereOperations.allocate(&harness.slot());
    kSphereOperations.initialise(&harness.slot());
    for (int i = 0; i < 10; ++i) kSphereOperations.frame(&harness.slot());
    kSphereOperations.free(&harness.slot());
    double nearest = 1e9, farthest = 0;
    for (int y = 0; y < 160; ++y)
      for (int x = 0; x < 200; ++x) {
        if (harness.surface().PixelAt(x, y) == 0) continue;
        const double d = std::hypot(x - 100, y - 80);
        nearest = std::min(nearest, d);
        farthest = std::max(farthest, d);
      }
    return {nearest, farthest};
  }
};

TEST_F(SphereSoundTest, SilencePutsEveryStampOnePixelFromTheCentre) {
  // Stamps of 120 pixels: radius 60 about a point one pixel out, plus rounding.
  const auto [nearest, farthest] = DrawnDistances(0.0f);
  EXPECT_LT(nearest, 2.0);
  EXPECT_LE(farthest, 63.0);
}

TEST_F(SphereSoundTest, FullVolumePutsThemJustBeyondTheHalfDiagonal) {
  // Half diagonal of 200 x 160: about 128; the stamps sit at 129 and reach
  // 60 pixels back in toward the centre.
  const auto [nearest, farthest] = DrawnDistances(1.0f);
  EXPECT_GT(nearest, 129.0 - 63.0);
  EXPECT_LT(nearest, 129.0 - 50.0);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "module_harness.h"
#include "modules/star.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum {
  kStars = 0, kStarSize = 1, kSpeed = 2, kXRevolve = 3, kYRevolve = 4, kZRevolve = 5, kStarRotation = 6,
  kStarSides = 7, kStarType = 8, kXTiling = 10, kYTiling = 11, kTileType = 12, kSymmetry = 13, kDiameter2 = 14,
  kRotation2 = 15, kSides2 = 16, kDiameter3 = 17, kRotation3 = 18, kSides3 = 19,
};

struct Surface {
  int width;
  int height;
};

// Runs the frames; returns whether anything was drawn.
bool RunFrames(ModuleHarness& harness, int frames) {
  kStarOperations.allocate(&harness.slot());
  kStarOperations.initialise(&harness.slot());
  for (int i = 0; i < frames; ++i) EXPECT_EQ(kStarOperations.frame(&harness.slot()), 0);
  kStarOperations.free(&harness.slot());
  return harness.CountNonBlack() > 0;
}

// Streaks start only from last positions inside the one-pixel border, so
// surfaces one pixel across never draw.
bool Draws(const Surface& s) { return s.width > 2 && s.height > 2; }

class StarExtremesTest : public ::testing::TestWithParam<Surface> {};

TEST_P(StarExtremesTest, MostStarsAndCopiesAtTopSpeed) {
  ModuleHarness harness(kModuleStar, GetParam().width, GetParam().height);
  SeedRandom(5);
  harness.SetControl(kStars, 99);
  harness.SetControl(kSymmetry, 128);
  harness.SetControl(kSpeed, 60);
  harness.SetControl(kXRevolve, 99);
  harness.SetControl(kYRevolve, -99);
  harness.SetControl(kZRevolve, 99);
  EXPECT_EQ(RunFrames(harness, 10), Draws(GetParam()));
}

TEST_P(StarExtremesTest, MostCopiesInTheMostTiles) {
  ModuleHarness harness(kModuleStar, GetParam().width, GetParam().height);
  SeedRandom(55);
  harness.SetControl(kSymmetry, 128);
  harness.SetControl(kXTiling, 20);
  harness.SetControl(kYTiling, 20);
  harness.SetControl(kTileType, 2);
  harness.SetControl(kStars, 40);
  EXPECT_EQ(RunFrames(harness, 4), Draws(GetParam()));
}

TEST_P(StarExtremesTest, LargestNestedShapes) {
  // Figures this large may all fall beside a small surface; what counts is
  // that 1000 polygons per stamp are drawn safely.
  for (int type : {6, 8, 15, 17}) {
    ModuleHarness harness(kModuleStar, GetParam().width, GetParam().height);
    SeedRandom(6 + type);
    harness.SetControl(kStars, 10);
    harness.SetControl(kStarType, type);
    for (int sides : {kStarSides, kSides2, kSides3}) harness.SetControl(sides, 10);
    for (int size : {kStarSize, kDiameter2, kDiameter3}) harness.SetControl(size, 320);
    for (int spin : {kStarRotation, kRotation2, kRotation3}) harness.SetControl(spin, -100);
    harness.SetControl(kSpeed, 1);
    RunFrames(harness, 8);
  }
}

TEST_P(StarExtremesTest, EveryDrivenControlSweepsItsRange) {
  ModuleHarness harness(kModuleStar, GetParam().width, GetParam().height);
  SeedRandom(7);
  harness.SetControl(kStars, 0);
  harness.SetControl(kTileType, 1);
  harness.Oscillate(kStarSize, 1, 40);
  harness.Oscillate(kSpeed, 1, 60);
  harness.Oscillate(kXRevolve, -99, 99);
  harness.Oscillate(kYRevolve, 99, -99);
  harness.Oscillate(kZRevolve, -99, 99);
  harness.Oscillate(kStarRotation, -100, 100);
  harness.Oscillate(kXTiling, 1, 20);
  harness.Oscillate(kYTiling, 20, 1);
  harness.Oscillate(kSymmetry, 1, 128);
  harness.Oscillate(kDiameter2, 1, 40);
  harness.Oscillate(kRotation2, -100, 100);
  harness.Oscillate(kDiameter3, 1, 40);
  harness.Oscillate(kRotation3, 100, -100);
  EXPECT_EQ(RunFrames(harness, 60), Draws(GetParam()));  // past a full oscillation (40 frames)
}

TEST_P(StarExtremesTest, DrivenValuesFarPastTheirRangeAreHeldToIt) {
  // A sound level far over its scale: sizes and counts this large would
  // overflow the figure arithmetic and stall the frame.
  ModuleHarness harness(kModuleStar, GetParam().width, GetParam().height);
  SeedRandom(8);
  harness.SetControl(kStarSides, 5);
  harness.SetControl(kStarType, 9);
  harness.Oscillate(kStarSize, 1000000000, 2000000000);
  harness.Oscillate(kSymmetry, -2000000000, -1000000000);
  harness.Oscillate(kSpeed, -2000000000, -1000000000);
  harness.Oscillate(kXTiling, 1000000000, 2000000000);
  harness.Oscillate(kYTiling, -5, 0);
  EXPECT_EQ(RunFrames(harness, 30), Draws(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Surfaces, StarExtremesTest,
                         ::testing::Values(Surface{1, 1}, Surface{1, 4000}, Surface{3, 4000}, Surface{4000, 3}, Surface{64, 48}),
                         [](const ::testing::TestParamInfo<Surface>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace fluxo

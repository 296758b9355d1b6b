#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "module_harness.h"
#include "modules/vortex.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kPointsOnEdge = 0, kAmplitude = 2, kType = 4, kCollapseRate = 5, kXTiling = 10, kYTiling = 11, kTileType = 12 };

// The palette entries the fifth frame paints with a given colour type; by
// then the ring (from 212 down by 20..21 a frame) lies inside the surface.
std::set<uint8_t> FifthFrameColours(int type, int points) {
  ModuleHarness harness(kModuleVortex, 300, 300);
  SeedRandom(17);
  harness.SetControl(kType, type);
  harness.SetControl(kPointsOnEdge, points);
  harness.SetControl(kCollapseRate, 20);
  kVortexOperations.initialise(&harness.slot());
  for (int i = 0; i < 4; ++i) kVortexOperations.frame(&harness.slot());
  harness.Clear();
  kVortexOperations.frame(&harness.slot());
  std::set<uint8_t> colours;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x)
      if (harness.surface().PixelAt(x, y) != 0) colours.insert(harness.surface().PixelAt(x, y));
  kVortexOperations.free(&harness.slot());
  return colours;
}

// Point i starts the band of colour k_i + 5: the colour offset starts at 1
// and grows by one a frame.
std::set<uint8_t> ExpectedColours(int points, int (*oddColour)(int i, int n)) {
  std::set<uint8_t> colours;
  for (int i = 0; i < points; ++i) {
    const int k = i % 2 == 0 ? i : oddColour(i, points);
    colours.insert(gdi::PixelOfEntry((k + 5) % 236));
  }
  return colours;
}

TEST(VortexDrawingTest, ColourTypesPickEachBandsPaletteEntry) {
  constexpr int n = 30;
  EXPECT_EQ(FifthFrameColours(0, n), ExpectedColours(n, [](int i, int) { return i; }));
  EXPECT_EQ(FifthFrameColours(1, n), ExpectedColours(n, [](int i, int count) { return count - i; }));
  EXPECT_EQ(FifthFrameColours(2, n), ExpectedColours(n, [](int i, int) { return i + 20; }));
  EXPECT_EQ(FifthFrameColours(3, n), ExpectedColours(n, [](int i, int) { return i * i; }));
  EXPECT_EQ(FifthFrameColours(4, n), ExpectedColours(n, [](int i, int) { return i / 2; }));
  EXPECT_EQ(FifthFrameColours(5, n), ExpectedColours(n, [](int i, int) { return 2 * i; }));
}

// Points are laid out clockwise from the bottom of the ring, from the last
// point to the first; the band from point j - 1 to point j takes the colour
// of point j - 1.
TEST(VortexDrawingTest, EachBandTakesTheColourOfItsFirstPoint) {
  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    ModuleHarness harness(kModuleVortex, 300, 300);
    SeedRandom(20);
    harness.SetControl(kType, type);
    harness.SetControl(kPointsOnEdge, 30);
    harness.SetControl(kCollapseRate, 20);
    harness.SetControl(kAmplitude, 1);  // hardly any swirl
    kVortexOperations.initialise(&harness.slot());
    for (int i = 0; i < 5; ++i) kVortexOperations.frame(&harness.slot());
    // The fifth frame swept radii 112..128 at least; colour offset 5.
    // Right of the bottom: points 28 and 29; left of it: points 29 and 0.
    EXPECT_EQ(harness.surface().PixelAt(156, 270), gdi::PixelOfEntry(28 + 5));
    EXPECT_EQ(harness.surface().PixelAt(144, 270), gdi::PixelOfEntry((type == 0 ? 29 : 30 - 29) + 5));
    kVortexOperations.free(&harness.slot());
  }
}

TEST(VortexDrawingTest, EachFrameFillsTheBandTheRingSweptInward) {
  ModuleHarness harness(kModuleVortex, 300, 200);
  SeedRandom(18);
  harness.SetControl(kCollapseRate, 10);
  harness.SetControl(kAmplitude, 1);  // hardly any swirl
  kVortexOperations.initialise(&harness.slot());
  // The ring starts at the half-diagonal of 150 x 100 and shrinks by 10..11
  // a frame; the second frame sweeps from about 170 down to 159.
  const double start = std::hypot(150.0, 100.0);
  kVortexOperations.frame(&harness.slot());
  harness.Clear();
  kVortexOperations.frame(&harness.slot());
  int drawn = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      if (harness.surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      const double r = std::hypot(x - 150.0, y - 100.0);
      ASSERT_GE(r, start - 2 * 11 - 2 - 1) << x << "," << y;  // flux amplitude adds up to 1
      ASSERT_LE(r, start - 10 + 2 + 1) << x << "," << y;
    }
  EXPECT_GT(drawn, 100);
  kVortexOperations.free(&harness.slot());
}

TEST(VortexDrawingTest, TilesHoldShrunkenCopies) {
  ModuleHarness harness(kModuleVortex, 200, 200);
  SeedRandom(19);
  harness.SetControl(kXTiling, 2);
  harness.SetControl(kYTiling, 2);
  harness.SetControl(kTileType, 2);  // tiles (0, 0) and (1, 1)
  harness.SetControl(kCollapseRate, 20);
  kVortexOperations.initialise(&harness.slot());
  // Once the ring (from 141) is within 70 of the centre, each shrunken copy
  // stays inside its tile.
  for (int i = 0; i < 4; ++i) kVortexOperations.frame(&harness.slot());
  harness.Clear();
  kVortexOperations.frame(&harness.slot());
  int first = 0, second = 0, others = 0, differing = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint8_t a = harness.surface().PixelAt(x, y);
      const uint8_t b = harness.surface().PixelAt(x + 100, y + 100);
      first += a != 0;
      second += b != 0;
      differing += a != b;
      others += (harness.surface().PixelAt(x + 100, y) != 0) + (harness.surface().PixelAt(x, y + 100) != 0);
    }
  EXPECT_GT(first, 0);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(others, 0);
  kVortexOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

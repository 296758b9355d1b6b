#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "module_harness.h"
#include "modules/stain.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kFolding = 1, kType = 2, kTurbulence = 6, kTurbulenceType = 7, kParametric = 8 };
enum { kXTiling = 10, kYTiling = 11, kTileType = 12, kDiffuse = 14 };

constexpr uint8_t kUntouched = 250;  // a fixed colour no palette-index blit writes

void Start(ModuleHarness& harness, uint32_t seed) {
  SeedRandom(seed);
  kStainOperations.allocate(&harness.slot());
  kStainOperations.initialise(&harness.slot());
}

// Chebyshev distance of (x, y) from the segment of the centre line.
int DistanceFromLine(int x, int y, int left, int right, int lineY) {
  const int dx = x < left ? left - x : x > right ? x - right : 0;
  return std::max(dx, std::abs(y - lineY));
}

TEST(StainRingsTest, FourRingsAFrameGrowFromTheCentreLineUntilTheTileEdge) {
  constexpr int kW = 41, kH = 25;  // M = 40, N = 24: the line (12, 12)..(28, 12)
  ModuleHarness harness(kModuleStain, kW, kH);
  Start(harness, 4);
  for (int frame = 1; frame <= 3; ++frame) {
    EXPECT_EQ(kStainOperations.frame(&harness.slot()), 0);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(harness.surface().PixelAt(x, y) != 0, DistanceFromLine(x, y, 12, 28, 12) < 4 * frame)
            << frame << ": " << x << "," << y;
  }
  // r + 1 = 13 rings: the fourth frame draws the border and finds the next ring outside.
  EXPECT_EQ(kStainOperations.frame(&harness.slot()), 0);
  EXPECT_EQ(harness.CountNonBlack(), kW * kH);
  EXPECT_EQ(kStainOperations.frame(&harness.slot()), 42);
  kStainOperations.free(&harness.slot());
}

TEST(StainRingsTest, ATallTileGrowsFromAVerticalLine) {
  constexpr int kW = 15, kH = 31;  // M = 14, N = 30: the line (7, 7)..(7, 23)
  ModuleHarness harness(kModuleStain, kW, kH);
  Start(harness, 4);
  kStainOperations.frame(&harness.slot());
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      ASSERT_EQ(harness.surface().PixelAt(x, y) != 0, DistanceFromLine(y, x, 7, 23, 7) < 4) << x << "," << y;
  kStainOperations.free(&harness.slot());
}

// Position within a tile of width `tile` whose neighbours are mirrored: tiles
// share their edge pixels, odd tiles run backwards.
int Folded(int v, int tile) {
  const int within = v % tile;
  return (v / tile) % 2 == 0 ? within : tile - within;
}

TEST(StainRingsTest, TilesAreMirrorImagesOfTheMasterTile) {
  constexpr int kTw = 12, kTh = 8;
  ModuleHarness harness(kModuleStain, 4 * kTw + 1, 3 * kTh + 1);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 3);
  harness.SetControl(kType, 10);
  Start(harness, 6);
  for (int frame = 0; frame < 2; ++frame) kStainOperations.frame(&harness.slot());
  ASSERT_EQ(harness.CountNonBlack(), (4 * kTw + 1) * (3 * kTh + 1));
  const gdi::FrameSurface& s = harness.surface();
  for (int y = 0; y <= 3 * kTh; ++y)
    for (int x = 0; x <= 4 * kTw; ++x)
      ASSERT_EQ(s.PixelAt(x, y), s.PixelAt(Folded(x, kTw), Folded(y, kTh))) << x << "," << y;
  kStainOperations.free(&harness.slot());
}

TEST(StainRingsTest, TileTypeOneLeavesTheInsideOfUnselectedTilesAlone) {
  constexpr int kTw = 10, kTh = 8;
  ModuleHarness harness(kModuleStain, 4 * kTw + 1, 2 * kTh + 1);
  std::fill_n(harness.surface().MutablePixels(), (4 * kTw + 1) * (2 * kTh + 1), kUntouched);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 2);
  harness.SetControl(kTileType, 1);
  Start(harness, 2);
  for (int frame = 0; frame < 3; ++frame) kStainOperations.frame(&harness.slot());
  // Rings reach the tile edge, which neighbouring tiles share.
  for (int y = 0; y <= 2 * kTh; ++y)
    for (int x = 0; x <= 4 * kTw; ++x) {
      if (x % kTw == 0 || y % kTh == 0) continue;
      const bool selected = (x / kTw + y / kTh) % 2 == 1;
      const uint8_t v = harness.surface().PixelAt(x, y);
      if (selected)
        ASSERT_TRUE(v >= 10 && v < 246) << x << "," << y;
      else
        ASSERT_EQ(v, kUntouched) << x << "," << y;
    }
  kStainOperations.free(&harness.slot());
}

TEST(StainRingsTest, EveryGeneratorAndMappingStaysInsideItsBuffers) {
  struct Size {
    int width, height, tiling;
  };
  for (const Size size : {Size{1, 1, 1}, Size{1, 40, 1}, Size{40, 1, 1}, Size{9, 9, 1}, Size{23, 17, 1},
                          Size{10, 10, 20}, Size{33, 21, 3}}) {
    for (int generator = 0; generator < 10; ++generator) {
      ModuleHarness harness(kModuleStain, size.width, size.height);
      harness.SetControl(kType, generator);
      harness.SetControl(kTurbulence, generator % 3 == 0 ? 0 : 99);
      harness.SetControl(kTurbulenceType, generator % 6);
      harness.SetControl(kParametric, generator % 2);
      harness.SetControl(kFolding, generator % 4 == 1 ? 3 : 0);
      harness.SetControl(kDiffuse, generator % 5 == 2 ? 64 : 0);
      harness.SetControl(kXTiling, size.tiling);
      harness.SetControl(kYTiling, size.tiling);
      Start(harness, static_cast<uint32_t>(generator + 1));
      for (int frame = 0; frame < 6; ++frame) kStainOperations.frame(&harness.slot());
      for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
          const uint8_t v = harness.surface().PixelAt(x, y);
          ASSERT_TRUE(v == 0 || (v >= 10 && v < 246)) << generator;
        }
      kStainOperations.free(&harness.slot());
    }
  }
}

TEST(StainRingsTest, ATallThinSurfaceIsDrawnCompletely) {
  ModuleHarness harness(kModuleStain, 1, 4000);
  Start(harness, 9);
  for (int frame = 0; frame < 3; ++frame) kStainOperations.frame(&harness.slot());
  EXPECT_EQ(harness.CountNonBlack(), 4000);
  kStainOperations.free(&harness.slot());
}

TEST(StainRingsTest, UnallocatableBuffersAreReportedAndNothingIsDrawn) {
  ModuleHarness harness(kModuleStain, 16, 16);
  harness.slot().height = 2000000000;
  testing::internal::CaptureStderr();
  Start(harness, 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not allocate buffers"), std::string::npos);
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(kStainOperations.frame(&harness.slot()), 0);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kStainOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

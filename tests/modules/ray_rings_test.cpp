#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "module_harness.h"
#include "modules/ray.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kFrequency = 0, kAmplitude = 1, kDensity = 2, kFolding = 3, kShiftRate = 4, kRayType = 5 };
enum { kXTiling = 10, kYTiling = 11, kTileType = 12 };

constexpr uint8_t kUntouched = 250;  // a fixed colour no palette-index blit writes

void Start(ModuleHarness& harness, uint32_t seed) {
  SeedRandom(seed);
  kRayOperations.allocate(&harness.slot());
  kRayOperations.initialise(&harness.slot());
}

std::vector<uint8_t> Table() {
  const auto table = ray::PerimeterTable();
  return {table.begin(), table.end()};
}

TEST(RayTableTest, StartsAsARampThatBouncesBetweenTheEndsOfThePalette) {
  ModuleHarness harness(kModuleRay, 200, 150);
  harness.SetControl(kDensity, 100);  // a step of about 5
  Start(harness, 12);
  const std::vector<uint8_t> table = Table();
  ASSERT_EQ(table.size(), 700u);
  EXPECT_GE(table[0], 5);
  EXPECT_LE(table[0], 6);
  int turns = 0;
  for (size_t i = 2; i < table.size(); ++i) {
    const int before = table[i - 1] - table[i - 2];
    const int now = table[i] - table[i - 1];
    EXPECT_LE(std::abs(now), 6) << i;
    if ((before > 0) != (now > 0)) ++turns;
  }
  EXPECT_GE(turns, 6);  // about 47 steps between the ends, 700 entries
  EXPECT_EQ(*std::max_element(table.begin(), table.end()), 235);
  kRayOperations.free(&harness.slot());
}

// With ray type 1 the modulation depends on the entry alone, so a rotated
// table modulates into the same table rotated.
std::vector<uint8_t> TableAfterOneFrame(int shiftRate) {
  ModuleHarness harness(kModuleRay, 60, 40);
  harness.SetControl(kRayType, 1);
  harness.SetControl(kShiftRate, shiftRate);
  Start(harness, 77);
  kRayOperations.frame(&harness.slot());
  std::vector<uint8_t> table = Table();
  kRayOperations.free(&harness.slot());
  return table;
}

TEST(RayTableTest, APositiveShiftRotatesLeftAndANegativeOneRight) {
  const std::vector<uint8_t> still = TableAfterOneFrame(0);
  const int p = static_cast<int>(still.size());
  for (int shift : {7, -7, 205, -450}) {
    const std::vector<uint8_t> moved = TableAfterOneFrame(shift);
    for (int i = 0; i < p; ++i) ASSERT_EQ(moved[i], still[((i + shift) % p + p) % p]) << shift << " at " << i;
  }
}

TEST(RayTableTest, EveryRayTypeKeepsPaletteIndicesAndKeepsChangingWithoutAShift) {
  for (int type = 0; type <= 3; ++type) {
    ModuleHarness harness(kModuleRay, 60, 40);
    harness.SetControl(kRayType, type);
    harness.SetControl(kShiftRate, 0);
    harness.SetControl(kAmplitude, 200);
    Start(harness, 5);
    kRayOperations.frame(&harness.slot());
    const std::vector<uint8_t> first = Table();
    kRayOperations.frame(&harness.slot());
    const std::vector<uint8_t> second = Table();
    EXPECT_NE(first, second) << type;
    for (uint8_t v : second) ASSERT_LT(v, 236) << type;
    kRayOperations.free(&harness.slot());
  }
}

TEST(RayRingsTest, TheOuterRingRunsOnceAroundTheTable) {
  constexpr int kW = 30, kH = 20, kM = kW - 1, kN = kH - 1;
  ModuleHarness harness(kModuleRay, kW, kH);
  harness.SetControl(kFolding, 0);
  Start(harness, 3);
  kRayOperations.frame(&harness.slot());
  const std::vector<uint8_t> t = Table();
  const int p = static_cast<int>(t.size());
  const gdi::FrameSurface& s = harness.surface();
  auto index = [](uint8_t entry) { return 10 + entry; };
  // Corners belong to the columns, drawn last.
  for (int x = 1; x < kM; ++x) {
    EXPECT_EQ(s.PixelAt(x, kN), index(t[x])) << x;                    // bottom, left to right
    EXPECT_EQ(s.PixelAt(x, 0), index(t[2 * kW + kH - x])) << x;       // top, leftwards
  }
  for (int i = 0; i < kH; ++i) {
    EXPECT_EQ(s.PixelAt(kM, kN - i), index(t[kW + i])) << i;          // right, upwards
    EXPECT_EQ(s.PixelAt(0, kN - i), index(t[(p - i) % p])) << i;      // left, downwards
  }
  kRayOperations.free(&harness.slot());
}

TEST(RayRingsTest, ThreeRingsAFrameInwardThenANewRampAfterTheDuration) {
  constexpr int kW = 26, kH = 18;
  ModuleHarness harness(kModuleRay, kW, kH);
  Start(harness, 8);
  for (int frame = 1; frame <= 3; ++frame) {
    EXPECT_EQ(kRayOperations.frame(&harness.slot()), 0);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const int depth = std::min({x, y, kW - 1 - x, kH - 1 - y});
        ASSERT_EQ(harness.surface().PixelAt(x, y) != 0, depth < 3 * frame) << frame << ": " << x << "," << y;
      }
  }
  EXPECT_EQ(kRayOperations.frame(&harness.slot()), 0);  // complete
  EXPECT_EQ(kRayOperations.frame(&harness.slot()), 42);
  test::ManualClock::now += 20000;
  EXPECT_EQ(kRayOperations.frame(&harness.slot()), 0);
  kRayOperations.free(&harness.slot());
}

TEST(RayRingsTest, TilesAreMirrorImagesOfTheMasterTileAndTileTypeOneSparesTheOthers) {
  constexpr int kTw = 12, kTh = 10;
  for (int tileType : {0, 1}) {
    ModuleHarness harness(kModuleRay, 4 * kTw, 3 * kTh);
    std::fill_n(harness.surface().MutablePixels(), 4 * kTw * 3 * kTh, kUntouched);
    harness.SetControl(kXTiling, 4);
    harness.SetControl(kYTiling, 3);
    harness.SetControl(kTileType, tileType);
    harness.SetControl(kFolding, tileType);
    Start(harness, 31);
    for (int frame = 0; frame < 2; ++frame) kRayOperations.frame(&harness.slot());
    const gdi::FrameSurface& s = harness.surface();
    const int masterColumn = tileType == 1 ? 1 : 0;
    for (int row = 0; row < 3; ++row)
      for (int column = 0; column < 4; ++column)
        for (int y = 0; y < kTh; ++y)
          for (int x = 0; x < kTw; ++x) {
            const uint8_t v = s.PixelAt(column * kTw + x, row * kTh + y);
            if (tileType == 1 && (column + row) % 2 == 0) {
              ASSERT_EQ(v, kUntouched) << column << "," << row;
            } else if (tileType == 0) {
              const int mx = column % 2 ? kTw - 1 - x : x;
              const int my = row % 2 ? kTh - 1 - y : y;
              ASSERT_EQ(v, s.PixelAt(masterColumn * kTw + mx, my)) << column << "," << row;
            } else {
              ASSERT_TRUE(v >= 10 && v < 246) << column << "," << row;
            }
          }
    kRayOperations.free(&harness.slot());
  }
}

TEST(RayRingsTest, AbsurdSurfacesStayInsideTheirBuffers) {
  struct Case {
    int width, height, tiling, folding;
  };
  for (const Case c : {Case{1, 1, 1, 0}, Case{1, 4000, 1, 0}, Case{1, 4000, 1, 2}, Case{4000, 1, 1, 3},
                       Case{10, 10, 20, 0}, Case{10, 10, 20, 20}, Case{7, 3, 2, 1}}) {
    for (int type = 0; type <= 3; ++type) {
      ModuleHarness harness(kModuleRay, c.width, c.height);
      harness.SetControl(kXTiling, c.tiling);
      harness.SetControl(kYTiling, c.tiling);
      harness.SetControl(kFolding, c.folding);
      harness.SetControl(kRayType, type);
      harness.SetControl(kShiftRate, -500);
      Start(harness, 4);
      for (int frame = 0; frame < 4; ++frame) kRayOperations.frame(&harness.slot());
      kRayOperations.free(&harness.slot());
    }
  }
}

TEST(RayRingsTest, UnallocatableBuffersAreReportedAndNothingIsDrawn) {
  ModuleHarness harness(kModuleRay, 16, 16);
  harness.slot().width = 2000000000;
  testing::internal::CaptureStderr();
  Start(harness, 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not allocate buffers"), std::string::npos);
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(kRayOperations.frame(&harness.slot()), 0);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kRayOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

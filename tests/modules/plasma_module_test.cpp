#include <gtest/gtest.h>

#include <string>

#include "module_harness.h"
#include "modules/plasma.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kRoughness = 0, kUpdateInterval = 1, kXTiling = 10, kYTiling = 11, kTileType = 12 };

constexpr uint8_t kUntouched = 250;  // a fixed colour no palette-index blit writes

void Start(ModuleHarness& harness, uint32_t seed) {
  SeedRandom(seed);
  kPlasmaOperations.allocate(&harness.slot());
  kPlasmaOperations.initialise(&harness.slot());
}

// Frames with the clock moving on a second each, so update intervals and
// image durations pass.
void RunFrames(ModuleHarness& harness, int frames) {
  for (int i = 0; i < frames; ++i) {
    ManualClock::now += 1000;
    EXPECT_EQ(kPlasmaOperations.frame(&harness.slot()), 0);
  }
}

TEST(PlasmaModuleTest, ShowsNothingUntilTheSquareHasGrownPast62ThenFillsTheTile) {
  ModuleHarness harness(kModulePlasma, 200, 150);
  harness.SetControl(kUpdateInterval, 1);
  Start(harness, 5);
  int framesBlack = 0;
  while (harness.CountNonBlack() == 0 && framesBlack < 200) {
    RunFrames(harness, 1);
    ++framesBlack;
  }
  // 512 subdivisions a frame cannot complete a 63-pixel square at once.
  EXPECT_GT(framesBlack, 1);
  EXPECT_LT(framesBlack, 200);
  // The partial square is stretched over the whole tile.
  EXPECT_EQ(harness.CountNonBlack(), 200 * 150);
  kPlasmaOperations.free(&harness.slot());
}

TEST(PlasmaModuleTest, FinishedTilesAreMirrorImagesOfTheMaster) {
  constexpr int kW = 13, kH = 11;
  ModuleHarness harness(kModulePlasma, 4 * kW, 3 * kH);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 3);
  Start(harness, 9);
  RunFrames(harness, 5);
  const gdi::FrameSurface& s = harness.surface();
  ASSERT_NE(s.PixelAt(0, 0), 0);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 4; ++column)
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const int mx = column % 2 ? kW - 1 - x : x;
          const int my = row % 2 ? kH - 1 - y : y;
          ASSERT_EQ(s.PixelAt(column * kW + x, row * kH + y), s.PixelAt(mx, my)) << column << "," << row;
        }
  kPlasmaOperations.free(&harness.slot());
}

TEST(PlasmaModuleTest, TileTypeOneLeavesTheUnselectedTilesAlone) {
  constexpr int kW = 10, kH = 8;
  ModuleHarness harness(kModulePlasma, 4 * kW, 2 * kH);
  std::fill_n(harness.surface().MutablePixels(), 4 * kW * 2 * kH, kUntouched);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 2);
  harness.SetControl(kTileType, 1);
  Start(harness, 3);
  RunFrames(harness, 5);
  for (int y = 0; y < 2 * kH; ++y)
    for (int x = 0; x < 4 * kW; ++x) {
      const bool selected = (x / kW + y / kH) % 2 == 1;
      const uint8_t v = harness.surface().PixelAt(x, y);
      if (selected)
        ASSERT_TRUE(v >= 10 && v < 246) << x << "," << y;
      else
        ASSERT_EQ(v, kUntouched) << x << "," << y;
    }
  kPlasmaOperations.free(&harness.slot());
}

TEST(PlasmaModuleTest, TileTypeOneWithASingleColumnShowsNothing) {
  ModuleHarness harness(kModulePlasma, 30, 20);
  harness.SetControl(kTileType, 1);
  Start(harness, 3);
  RunFrames(harness, 10);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kPlasmaOperations.free(&harness.slot());
}

TEST(PlasmaModuleTest, UnallocatableBuffersAreReportedAndNothingIsDrawn) {
  ModuleHarness harness(kModulePlasma, 16, 16);
  harness.slot().width = 200000;  // far larger than any buffer may be
  harness.slot().height = 200000;
  testing::internal::CaptureStderr();
  Start(harness, 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Could not allocate buffers"), std::string::npos);
  RunFrames(harness, 3);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kPlasmaOperations.free(&harness.slot());
}

TEST(PlasmaModuleTest, AbsurdSurfacesDrawWhatTheyCanInsideTheBuffers) {
  struct Case {
    int width, height, columns, rows, roughness;
  };
  for (const Case& c : {Case{1, 1, 1, 1, 10}, Case{1, 4000, 1, 1, 100}, Case{4000, 1, 1, 1, 10},
                        Case{10, 10, 16, 16, 10}, Case{17, 9, 16, 16, 100}, Case{2, 3, 1, 1, 100}}) {
    ModuleHarness harness(kModulePlasma, c.width, c.height);
    harness.SetControl(kXTiling, c.columns);
    harness.SetControl(kYTiling, c.rows);
    harness.SetControl(kRoughness, c.roughness);
    Start(harness, 11);
    RunFrames(harness, 40);
    kPlasmaOperations.free(&harness.slot());
  }
}

}  // namespace
}  // namespace fluxo

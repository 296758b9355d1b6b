#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "module_harness.h"
#include "modules/pattern.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kType = 2, kImageDuration = 3, kFolding = 7, kXTiling = 10, kYTiling = 11, kTileType = 12 };

constexpr uint8_t kUntouched = 250;  // a fixed colour no palette-index blit writes

void Start(ModuleHarness& harness, int generator, uint32_t seed) {
  harness.SetControl(kType, generator);
  SeedRandom(seed);
  kPatternOperations.allocate(&harness.slot());
  kPatternOperations.initialise(&harness.slot());
}

// Frames until every pixel is drawn; the picture is then complete but not yet replaced.
int DrawUntilCovered(ModuleHarness& harness, int limit) {
  const int pixels = harness.surface().Width() * harness.surface().Height();
  int frames = 0;
  while (harness.CountNonBlack() < pixels && frames < limit) {
    EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);
    ++frames;
  }
  return frames;
}

TEST(PatternRingsTest, ThreeRingsAFrameFromTheEdgeInward) {
  constexpr int kW = 30, kH = 22;
  ModuleHarness harness(kModulePattern, kW, kH);
  Start(harness, 3, 17);
  for (int frame = 1; frame <= 3; ++frame) {
    EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const int depth = std::min({x, y, kW - 1 - x, kH - 1 - y});
        ASSERT_EQ(harness.surface().PixelAt(x, y) != 0, depth < 3 * frame) << frame << ": " << x << "," << y;
      }
  }
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, RingsShowTheGeneratorUpsideDown) {
  for (int generator : {0, 4, 14, 19}) {
    constexpr int kW = 21, kH = 18;  // nine rings: three whole frames
    ModuleHarness harness(kModulePattern, kW, kH);
    Start(harness, generator, 5);
    DrawUntilCovered(harness, 10);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(harness.surface().PixelAt(x, y), 10 + pattern::ValueAt(x, kH - 1 - y))
            << generator << ": " << x << "," << y;
    kPatternOperations.free(&harness.slot());
  }
}

TEST(PatternRingsTest, ACompletePictureWaitsForTheImageDurationThenDrawsANewOneOverIt) {
  constexpr int kW = 24, kH = 18;
  ModuleHarness harness(kModulePattern, kW, kH);
  harness.SetControl(kImageDuration, 2);
  Start(harness, 21, 8);
  const int frames = DrawUntilCovered(harness, 10);
  EXPECT_EQ(frames, 3);  // nine rings cover an 18-pixel-high surface
  const auto first = harness.Pixels();
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);  // finds the ring empty: complete
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 42);
  ManualClock::now += 1999;
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 42);
  ManualClock::now += 1;  // the start time itself is no longer before it
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);
  EXPECT_NE(harness.Pixels(), first);
  EXPECT_EQ(harness.CountNonBlack(), kW * kH);  // drawn over, never cleared
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, FoldedRingsRepeatAZigZagOfTheirFirstSegment) {
  constexpr int kW = 41, kH = 29;
  ModuleHarness harness(kModulePattern, kW, kH);
  harness.SetControl(kFolding, 2);  // four folds
  Start(harness, 3, 23);
  kPatternOperations.frame(&harness.slot());
  const gdi::FrameSurface& s = harness.surface();
  const int segment = (kW - 1) / 4 + 1;  // 11
  // The corners belong to the columns, drawn last.
  for (int x = 1; x < kW - 1; ++x) {
    EXPECT_EQ(s.PixelAt(x, 0), s.PixelAt(x, kH - 1)) << x;  // the bottom row copied to the top
    const int within = x % segment;
    const int mirrored = (x / segment) % 2 == 0 ? within : segment - within;
    if (mirrored > 0 && mirrored < segment) {
      EXPECT_EQ(s.PixelAt(x, kH - 1), s.PixelAt(mirrored, kH - 1)) << x;
    }
  }
  for (int y = 0; y < kH; ++y) EXPECT_EQ(s.PixelAt(0, y), s.PixelAt(kW - 1, y)) << y;
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, TilesAreMirrorImagesOfTheMasterTile) {
  constexpr int kTw = 12, kTh = 10;
  ModuleHarness harness(kModulePattern, 4 * kTw, 3 * kTh);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 3);
  Start(harness, 21, 31);
  DrawUntilCovered(harness, 10);
  const gdi::FrameSurface& s = harness.surface();
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 4; ++column)
      for (int y = 0; y < kTh; ++y)
        for (int x = 0; x < kTw; ++x) {
          const int mx = column % 2 ? kTw - 1 - x : x;
          const int my = row % 2 ? kTh - 1 - y : y;
          ASSERT_EQ(s.PixelAt(column * kTw + x, row * kTh + y), s.PixelAt(mx, my)) << column << "," << row;
        }
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, TileTypeOneLeavesTheUnselectedTilesAlone) {
  constexpr int kTw = 10, kTh = 8;
  ModuleHarness harness(kModulePattern, 4 * kTw, 2 * kTh);
  std::fill_n(harness.surface().MutablePixels(), 4 * kTw * 2 * kTh, kUntouched);
  harness.SetControl(kXTiling, 4);
  harness.SetControl(kYTiling, 2);
  harness.SetControl(kTileType, 1);
  Start(harness, 21, 2);
  for (int frame = 0; frame < 4; ++frame) kPatternOperations.frame(&harness.slot());
  for (int y = 0; y < 2 * kTh; ++y)
    for (int x = 0; x < 4 * kTw; ++x) {
      const bool selected = (x / kTw + y / kTh) % 2 == 1;
      const uint8_t v = harness.surface().PixelAt(x, y);
      if (selected)
        ASSERT_TRUE(v >= 10 && v < 246) << x << "," << y;
      else
        ASSERT_EQ(v, kUntouched) << x << "," << y;
    }
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, TileTypeOneWithASingleTileDrawsNothingAndCompletesAtOnce) {
  ModuleHarness harness(kModulePattern, 20, 16);
  harness.SetControl(kTileType, 1);
  Start(harness, 21, 2);
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);
  EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 42);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, UnallocatableBuffersAreReportedAndNothingIsDrawn) {
  ModuleHarness harness(kModulePattern, 16, 16);
  harness.slot().width = 2000000000;
  testing::internal::CaptureStderr();
  Start(harness, 21, 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not allocate buffers"), std::string::npos);
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(kPatternOperations.frame(&harness.slot()), 0);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  kPatternOperations.free(&harness.slot());
}

TEST(PatternRingsTest, ATallThinSurfaceIsDrawnCompletely) {
  ModuleHarness harness(kModulePattern, 1, 4000);
  Start(harness, 21, 9);
  DrawUntilCovered(harness, 1000);
  EXPECT_EQ(harness.CountNonBlack(), 4000);
  kPatternOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

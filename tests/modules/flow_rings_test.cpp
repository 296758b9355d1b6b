#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "module_checks.h"
#include "module_harness.h"
#include "modules/flow.h"
#include "modules/kit/overlay_boxes.h"
#include "modules/kit/polygon_outline.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum {
  kSides = 0,
  kThickness = 1,
  kXSpan = 6,
  kYSpan = 7,
  kDepth = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kTrailLength = 15,
  kXRotation = 16,
  kYRotation = 17,
  kSpacing = 19,
};

class FlowRingsTest : public ::testing::Test {
 protected:
  FlowRingsTest() : harness_(kModuleFlow, 90, 70) {
    SeedRandom(66);
    ResetOverlayBoxes();
  }

  void Start() {
    kFlowOperations.allocate(&harness_.slot());
    kFlowOperations.initialise(&harness_.slot());
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(kFlowOperations.frame(&harness_.slot()), 0);
  }
  void Free() { kFlowOperations.free(&harness_.slot()); }

  // Runs a while and checks that free leaves the surface black.
  void ExpectErasedAfter(int frames) {
    Start();
    Frames(frames);
    EXPECT_GT(harness_.CountNonBlack(), 0);
    Free();
    EXPECT_EQ(harness_.CountNonBlack(), 0);
  }

  ModuleHarness harness_;
};

// Frame `last` drawn over what the frames before it left, and the same frame
// drawn on a black surface (Flow has no random choices, so both runs agree).
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> LastFrameWithAndWithoutHistory(ModuleHarness& harness, int last) {
  std::pair<std::vector<uint8_t>, std::vector<uint8_t>> result;
  for (const bool clearFirst : {false, true}) {
    harness.Clear();
    kFlowOperations.allocate(&harness.slot());
    kFlowOperations.initialise(&harness.slot());
    for (int frame = 1; frame <= last; ++frame) {
      if (clearFirst && frame == last) harness.Clear();
      kFlowOperations.frame(&harness.slot());
    }
    (clearFirst ? result.second : result.first) = harness.Pixels();
    kFlowOperations.free(&harness.slot());
  }
  return result;
}

TEST_F(FlowRingsTest, TrailLengthOneLeavesOnlyTheCurrentTube) {
  const auto [drawnOverHistory, drawnAlone] = LastFrameWithAndWithoutHistory(harness_, 6);
  EXPECT_GT(std::count_if(drawnAlone.begin(), drawnAlone.end(), [](uint8_t v) { return v != 0; }), 0);
  EXPECT_EQ(drawnOverHistory, drawnAlone);
}

TEST_F(FlowRingsTest, ALongerTrailLeavesOlderTubesOnScreen) {
  harness_.SetControl(kTrailLength, 3);
  const auto [drawnOverHistory, drawnAlone] = LastFrameWithAndWithoutHistory(harness_, 6);
  EXPECT_NE(drawnOverHistory, drawnAlone);
}

TEST_F(FlowRingsTest, EveryTubeStillOnScreenIsErasedAtFree) {
  harness_.SetControl(kTrailLength, 6);
  ExpectErasedAfter(20);
}

TEST_F(FlowRingsTest, TheLongestTrailIsErasedAtFreeToo) {
  harness_.SetControl(kTrailLength, 30);
  ExpectErasedAfter(45);
}

TEST_F(FlowRingsTest, RingsInSpaceAreErasedAsTheyWereDrawn) {
  harness_.SetControl(kXRotation, 40);
  harness_.SetControl(kYRotation, -25);
  harness_.SetControl(kTrailLength, 3);
  harness_.Oscillate(kDepth, 1, 198);  // each set keeps its own depth in space
  harness_.Oscillate(kSpacing, 0, 100);
  ExpectErasedAfter(50);
}

TEST_F(FlowRingsTest, DrivenControlsAreErasedWithTheValuesTheyWereDrawnWith) {
  harness_.SetControl(kTrailLength, 4);
  test::OscillateDrivenControls(harness_);
  harness_.Oscillate(kXTiling, 1, 3);  // keep the run short
  harness_.Oscillate(kYTiling, 1, 3);
  ExpectErasedAfter(60);
}

TEST_F(FlowRingsTest, AtTheDeadlineOnlyTheOldestTubeIsErased) {
  harness_.SetControl(kTrailLength, 1);
  Start();
  Frames(5);
  ManualClock::now += 30 * 1000 + 1;  // "Duration" 30 s
  Frames(1);
  EXPECT_EQ(harness_.CountNonBlack(), 0);  // with a trail of one that is all of it
  Free();

  harness_.Clear();
  harness_.SetControl(kTrailLength, 4);
  Start();
  Frames(8);
  ManualClock::now += 30 * 1000 + 1;
  Frames(1);
  EXPECT_GT(harness_.CountNonBlack(), 0);  // three newer tubes stay
  Free();
}

TEST_F(FlowRingsTest, RingIAlwaysTakesPaletteIndexIPlusOne) {
  harness_.SetControl(kDepth, 12);
  harness_.SetControl(kTrailLength, 30);
  Start();
  std::set<uint8_t> colours;
  for (int frame = 0; frame < 20; ++frame) {
    Frames(1);
    for (uint8_t v : harness_.Pixels())
      if (v != 0) colours.insert(v);
  }
  // Ring 0 is a point-sized polygon; rings 1..11 have indices 2..12.
  EXPECT_GE(colours.size(), 8u);
  for (uint8_t v : colours) {
    EXPECT_GE(v, gdi::PixelOfEntry(1));
    EXPECT_LE(v, gdi::PixelOfEntry(12));
  }
  Free();
}

TEST(FlowOutlineTest, OutlinesMatchHollowPolygonsPixelForPixel) {
  const std::vector<std::vector<gdi::Point>> shapes{
      {{10, 10}, {50, 12}, {30, 40}},                      // a triangle
      {{-30, 5}, {90, -20}, {70, 70}, {5, 55}, {40, 30}},  // reaching past the edges
      {{20, 5}, {35, 50}, {5, 20}, {50, 20}, {8, 50}},     // a self-crossing star
      {{25, 25}, {25, 25}, {25, 25}},                      // shrunk to one point
      {{3, 3}, {60, 3}},                                   // two vertices
  };
  for (const int width : {0, 1, 4}) {
    for (size_t i = 0; i < shapes.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "pen " << width << " shape " << i);
      gdi::FrameSurface outline(64, 48), polygon(64, 48);
      for (gdi::FrameSurface* s : {&outline, &polygon}) {
        std::fill_n(s->MutablePixels(), 64 * 48, 0);
        s->SelectPen(gdi::Pen::Solid(width, gdi::PaletteIndex(7)));
        s->SelectBrush(gdi::Brush::Hollow());
      }
      kit::DrawPolygonOutline(outline, shapes[i]);
      polygon.Polygon(shapes[i].data(), static_cast<int>(shapes[i].size()));
      EXPECT_TRUE(std::equal(outline.Pixels(), outline.Pixels() + 64 * 48, polygon.Pixels()));
      EXPECT_GT(std::count_if(outline.Pixels(), outline.Pixels() + 64 * 48, [](uint8_t v) { return v != 0; }), 0);
    }
  }
}

TEST(FlowTilingTest, OddTilesShowTheRingsMirrored) {
  ModuleHarness harness(kModuleFlow, 120, 80);
  ResetOverlayBoxes();
  harness.SetControl(kXTiling, 2);
  harness.SetControl(kYTiling, 2);
  harness.SetControl(kXSpan, 35);
  kFlowOperations.allocate(&harness.slot());
  kFlowOperations.initialise(&harness.slot());
  for (int frame = 0; frame < 4; ++frame) ASSERT_EQ(kFlowOperations.frame(&harness.slot()), 0);
  EXPECT_GT(harness.CountNonBlack(), 10);
  EXPECT_EQ(test::CountUnmirroredPixels(harness.surface()), 0);
  kFlowOperations.free(&harness.slot());
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

TEST(FlowTilingTest, TilesKeepVisibleOverlayBoxesFree) {
  ModuleHarness harness(kModuleFlow, 80, 60);
  ResetOverlayBoxes();
  OverlayBoxes()[kTrackInfoBox] = {{30, 20, 50, 40}, 5000};
  harness.SetControl(kXTiling, 3);
  harness.SetControl(kThickness, 9);
  harness.SetControl(kTrailLength, 30);
  kFlowOperations.allocate(&harness.slot());
  kFlowOperations.initialise(&harness.slot());
  for (int frame = 0; frame < 20; ++frame) ASSERT_EQ(kFlowOperations.frame(&harness.slot()), 0);
  EXPECT_GT(harness.CountNonBlack(), 0);
  for (int y = 20; y < 40; ++y)
    for (int x = 30; x < 50; ++x) ASSERT_EQ(harness.surface().PixelAt(x, y), 0) << x << "," << y;
  kFlowOperations.free(&harness.slot());
  harness.surface().SelectClipRegion(nullptr);
  ResetOverlayBoxes();
}

TEST(FlowExtremesTest, EveryControlAtEitherEndOfItsRangeRunsAndErases) {
  for (const int rotation : {0, 100}) {
    SCOPED_TRACE(rotation == 0 ? "flat" : "in space");
    test::ForEachControlExtreme(
        kModuleFlow, kFlowOperations, 48, 36, 8,
        [rotation](ModuleHarness& harness) {
          ResetOverlayBoxes();
          harness.SetControl(kXRotation, rotation);
        },
        [](ModuleHarness& harness, int, int32_t) { EXPECT_EQ(harness.CountNonBlack(), 0); });
  }
}

TEST(FlowExtremesTest, DegenerateSurfaces) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 4000}, std::pair{4000, 1}}) {
    for (const int rotation : {0, -100}) {
      SCOPED_TRACE(testing::Message() << width << "x" << height << " rotation " << rotation);
      ModuleHarness harness(kModuleFlow, width, height);
      ResetOverlayBoxes();
      harness.SetControl(kXRotation, rotation);
      harness.SetControl(kDepth, 198);
      harness.SetControl(kSides, 20);
      harness.SetControl(kXTiling, 3);
      harness.SetControl(kTileType, 2);
      test::RunModule(harness, kFlowOperations, 3);
      EXPECT_EQ(harness.CountNonBlack(), 0);
    }
  }
}

TEST(FlowExtremesTest, ValuesDrivenFarPastTheirRangeAreHeldToIt) {
  ModuleHarness harness(kModuleFlow, 64, 48);
  ResetOverlayBoxes();
  harness.SetControl(kTrailLength, 1000);
  harness.Oscillate(kDepth, 1 << 20, 1 << 30);
  harness.Oscillate(kSides, -50, 2);
  harness.Oscillate(kThickness, 1 << 20, 1 << 30);
  test::RunModule(harness, kFlowOperations, 4);
  EXPECT_EQ(harness.CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/kit/bouncing_points.h"
#include "modules/kit/shape_stamp.h"
#include "modules/whip.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kWidth = 3, kObjectType = 8, kAngularity = 14 };

constexpr uint32_t kSeed = 31337;
constexpr int kW = 120;
constexpr int kH = 90;

// The first frame of a whip of one-pixel segments: "Width" 1 makes the stamp
// a point, so each segment is a plain line.
std::vector<uint8_t> FirstFrame(ModuleHarness& harness, int angularity) {
  harness.SetControl(kWidth, 1);
  harness.SetControl(kObjectType, 0);
  harness.SetControl(kAngularity, angularity);
  SeedRandom(kSeed);
  kWhipOperations.allocate(&harness.slot());
  kWhipOperations.initialise(&harness.slot());
  kWhipOperations.frame(&harness.slot());
  std::vector<uint8_t> pixels = harness.Pixels();
  kWhipOperations.free(&harness.slot());
  return pixels;
}

// The head's first four points after the first move, drawn the way the
// module's initialise draws them (the stamp's random draws come first).
kit::BouncingPoints MovedPoints() {
  SeedRandom(kSeed);
  gdi::FrameSurface scratch(1, 1);
  kit::ShapeStamp stamp;
  kit::InitStamp(stamp, &scratch, {4, 4, 4}, 0, 100, {1, 60, 60}, {0.07f, 0.07f, 0.07f});
  kit::BouncingPoints points;
  kit::PlaceBouncingPoints(points, 6, kW, kH);
  kit::MoveBouncingPoints(points, 6, {-70, -70, kW + 70, kH + 70});
  return points;
}

TEST(WhipDrawingTest, OneSampleStepIsAStraightSegmentFromTheLastPointBackToTheFirst) {
  ModuleHarness harness(kModuleWhip, kW, kH);
  const std::vector<uint8_t> drawn = FirstFrame(harness, 1);

  const kit::BouncingPoints points = MovedPoints();
  const gdi::Point p0 = points.position[0], p3 = points.position[3];
  gdi::FrameSurface expected(kW, kH);
  std::fill_n(expected.MutablePixels(), kW * kH, 0);
  // Sample 0 is a segment from P0 to itself: one pixel beside it, colour 2.
  expected.SelectPen(gdi::Pen::Solid(0, gdi::PaletteIndex(2)));
  expected.MoveTo(p0.x + 1, p0.y);
  expected.LineTo(p0.x, p0.y);
  expected.SelectPen(gdi::Pen::Solid(0, gdi::PaletteIndex(3)));
  expected.MoveTo(p3.x == p0.x ? p3.x + 1 : p3.x, p3.y);
  expected.LineTo(p0.x, p0.y);
  EXPECT_GT(std::count_if(drawn.begin(), drawn.end(), [](uint8_t v) { return v != 0; }), 5);
  EXPECT_EQ(drawn, std::vector<uint8_t>(expected.Pixels(), expected.Pixels() + kW * kH));
}

TEST(WhipDrawingTest, TheSegmentsFollowTheCubicCurve) {
  ModuleHarness harness(kModuleWhip, kW, kH);
  const std::vector<uint8_t> drawn = FirstFrame(harness, 60);

  const kit::BouncingPoints points = MovedPoints();
  gdi::FrameSurface curve(kW, kH);
  std::fill_n(curve.MutablePixels(), kW * kH, 0);
  curve.SelectPen(gdi::Pen::Solid(0, gdi::PaletteIndex(1)));
  curve.PolyBezier(points.position.data(), 4);
  const auto near = [](const auto& isSet, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (isSet(x + dx, y + dy)) return true;
    return false;
  };
  const auto whipAt = [&](int x, int y) { return x >= 0 && y >= 0 && x < kW && y < kH && drawn[y * kW + x] != 0; };
  const auto curveAt = [&](int x, int y) { return x >= 0 && y >= 0 && x < kW && y < kH && curve.PixelAt(x, y) != 0; };
  int whipPixels = 0, strays = 0, missed = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (whipAt(x, y)) {
        ++whipPixels;
        if (!near(curveAt, x, y)) ++strays;
      }
      if (curveAt(x, y) && !near(whipAt, x, y)) ++missed;
    }
  }
  EXPECT_GT(whipPixels, 20);
  EXPECT_EQ(strays, 0);
  EXPECT_EQ(missed, 0);
}

TEST(WhipDrawingTest, EverySegmentStepsTheColourFromTheFramesIndex) {
  ModuleHarness harness(kModuleWhip, kW, kH);
  const std::vector<uint8_t> drawn = FirstFrame(harness, 60);
  std::set<uint8_t> colours;
  for (uint8_t v : drawn)
    if (v != 0) colours.insert(v);
  // The frame's index is 1; its 61 segments take 2 .. 62.
  for (uint8_t v : colours) {
    EXPECT_GE(v, gdi::PixelOfEntry(2));
    EXPECT_LE(v, gdi::PixelOfEntry(62));
  }
  EXPECT_GT(colours.size(), 30u);
}

}  // namespace
}  // namespace fluxo

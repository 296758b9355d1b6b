#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/bezier.h"
#include "modules/kit/bouncing_points.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kBeziers = 0, kSymmetry = 1, kWidth = 3, kSpeed = 4 };

constexpr uint32_t kSeed = 777;

// The first frame of a module with `beziers` curves and no symmetry.
std::vector<uint8_t> FirstFrame(int beziers, int width, int height) {
  ModuleHarness harness(kModuleBezier, width, height);
  harness.SetControl(kBeziers, beziers);
  harness.SetControl(kSymmetry, 1);
  SeedRandom(kSeed);
  kBezierOperations.allocate(&harness.slot());
  kBezierOperations.initialise(&harness.slot());
  kBezierOperations.frame(&harness.slot());
  std::vector<uint8_t> pixels = harness.Pixels();
  kBezierOperations.free(&harness.slot());
  return pixels;
}

// The same frame drawn by hand: the points placed and moved once, and only the
// curves starting at `starts`, in colour 1 with the default 12-pixel pen.
std::vector<uint8_t> CurvesFrom(int beziers, std::vector<int> starts, int width, int height) {
  SeedRandom(kSeed);
  kit::BouncingPoints points;
  kit::PlaceBouncingPoints(points, 2 * beziers + 4, width, height);
  kit::MoveBouncingPoints(points, 4, {-52, -52, width + 52, height + 52});
  gdi::FrameSurface surface(width, height);
  std::fill_n(surface.MutablePixels(), width * height, 0);
  surface.SelectPen(gdi::Pen::Solid(12, gdi::PaletteIndex(1)));
  for (int start : starts) surface.PolyBezier(&points.position[start], 4);
  return {surface.Pixels(), surface.Pixels() + width * height};
}

TEST(BezierDrawingTest, OneOrTwoBeziersDrawOneCurve) {
  EXPECT_EQ(FirstFrame(1, 90, 70), CurvesFrom(1, {0}, 90, 70));
  EXPECT_EQ(FirstFrame(2, 90, 70), CurvesFrom(2, {0}, 90, 70));
}

TEST(BezierDrawingTest, ThreeOrFourBeziersDrawTwoCurvesSharingTwoPoints) {
  const std::vector<uint8_t> three = FirstFrame(3, 90, 70);
  EXPECT_EQ(three, CurvesFrom(3, {0, 2}, 90, 70));
  EXPECT_NE(three, CurvesFrom(3, {0}, 90, 70));
  EXPECT_EQ(FirstFrame(4, 90, 70), CurvesFrom(4, {0, 2}, 90, 70));
}

TEST(BezierDrawingTest, SymmetryDrawsRotatedCopiesAboutTheCentre) {
  ModuleHarness harness(kModuleBezier, 81, 81);
  harness.SetControl(kSymmetry, 4);
  harness.SetControl(kWidth, 1);
  SeedRandom(kSeed);
  kBezierOperations.allocate(&harness.slot());
  kBezierOperations.initialise(&harness.slot());
  kBezierOperations.frame(&harness.slot());
  // Quarter turns about (40, 40): wherever one copy drew, the next copy did too,
  // give or take two pixels of rounding.
  int unmatched = 0, drawn = 0;
  for (int y = 0; y < 81; ++y) {
    for (int x = 0; x < 81; ++x) {
      if (harness.surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      const int rx = 40 + (y - 40), ry = 40 - (x - 40);  // the quarter turn of (x, y)
      bool found = false;
      for (int dy = -2; dy <= 2 && !found; ++dy)
        for (int dx = -2; dx <= 2 && !found; ++dx) {
          const int px = rx + dx, py = ry + dy;
          found = px >= 0 && py >= 0 && px < 81 && py < 81 && harness.surface().PixelAt(px, py) != 0;
        }
      if (!found) ++unmatched;
    }
  }
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(unmatched, 0);
  kBezierOperations.free(&harness.slot());
}

TEST(BezierDrawingTest, TheColourWalksUpAndDownThePalette) {
  ModuleHarness harness(kModuleBezier, 60, 40);
  harness.SetControl(kSymmetry, 1);
  harness.SetControl(kWidth, 3);
  SeedRandom(kSeed);
  kBezierOperations.allocate(&harness.slot());
  kBezierOperations.initialise(&harness.slot());
  std::vector<uint8_t> previous = harness.Pixels();
  int expected = 0, step = 1;
  for (int frame = 0; frame < 500; ++frame) {
    expected += step;
    if (expected == 235 || expected == 0) step = -step;
    kBezierOperations.frame(&harness.slot());
    const std::vector<uint8_t> now = harness.Pixels();
    std::set<uint8_t> painted;
    for (size_t i = 0; i < now.size(); ++i)
      if (now[i] != previous[i]) painted.insert(now[i]);
    ASSERT_LE(painted.size(), 1u) << "frame " << frame;
    if (!painted.empty()) {
      ASSERT_EQ(*painted.begin(), gdi::PixelOfEntry(expected)) << "frame " << frame;
    }
    previous = now;
  }
  kBezierOperations.free(&harness.slot());
}

TEST(BezierDrawingTest, ASurfaceNarrowerThanTenPixelsStillDraws) {
  ModuleHarness harness(kModuleBezier, 6, 40);
  harness.SetControl(kWidth, 2);
  SeedRandom(kSeed);
  kBezierOperations.allocate(&harness.slot());
  kBezierOperations.initialise(&harness.slot());
  for (int frame = 0; frame < 20; ++frame) EXPECT_EQ(kBezierOperations.frame(&harness.slot()), 0);
  EXPECT_GT(harness.CountNonBlack(), 0);
  kBezierOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

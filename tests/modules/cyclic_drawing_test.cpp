#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/cyclic.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kObjects = 0, kSpasticity = 1, kDiameter = 3, kPlanarSymmetry = 4 };

void Start(ModuleHarness& harness) {
  kCyclicOperations.allocate(&harness.slot());
  kCyclicOperations.initialise(&harness.slot());
}
void Frames(ModuleHarness& harness, int count) {
  for (int i = 0; i < count; ++i) ASSERT_EQ(kCyclicOperations.frame(&harness.slot()), 0);
}

// The rows that hold a non-black pixel.
std::pair<int, int> DrawnRows(const gdi::FrameSurface& surface) {
  int top = surface.Height(), bottom = -1;
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x)
      if (surface.PixelAt(x, y) != 0) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return {top, bottom};
}

// On a surface three times as tall as wide, the paths' amplitude (half the
// width) keeps every object in the middle rows.
void ExpectPathsWithinTheAmplitude(int spasticity, uint32_t seed) {
  ModuleHarness harness(kModuleCyclic, 40, 120);
  SeedRandom(seed);
  harness.SetControl(kSpasticity, spasticity);
  harness.SetControl(kDiameter, 2);  // a two-pixel dot
  harness.SetControl(kObjects, 9);
  Start(harness);
  Frames(harness, 300);
  // Still moving after hundreds of frames: each frame draws the step it made.
  harness.Clear();
  Frames(harness, 100);
  const auto [top, bottom] = DrawnRows(harness.surface());
  EXPECT_GE(top, 60 - 20 - 2);
  EXPECT_LE(bottom, 60 + 20 + 2);
  EXPECT_LE(top, bottom);  // something was drawn
  kCyclicOperations.free(&harness.slot());
}

TEST(CyclicDrawingTest, ObjectsStayWithinThePathAmplitude) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    ExpectPathsWithinTheAmplitude(50, seed);
    ExpectPathsWithinTheAmplitude(-50, seed);
  }
}

TEST(CyclicDrawingTest, SpasticityZeroStillMovesOnFinitePaths) {
  // S = 0 at initialise would make every path speed infinite.
  for (uint32_t seed : {4u, 5u}) {
    SCOPED_TRACE(seed);
    ExpectPathsWithinTheAmplitude(0, seed);
  }
}

TEST(CyclicDrawingTest, PlanarSymmetryDrawsQuarterTurnCopies) {
  ModuleHarness harness(kModuleCyclic, 121, 121);
  SeedRandom(77);
  harness.SetControl(kPlanarSymmetry, 4);
  harness.SetControl(kDiameter, 1);
  harness.SetControl(kSpasticity, 45);
  Start(harness);
  Frames(harness, 60);
  int drawn = 0, unmatched = 0;
  for (int y = 0; y < 121; ++y)
    for (int x = 0; x < 121; ++x) {
      if (harness.surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      const int rx = 60 + (y - 60), ry = 60 - (x - 60);
      bool found = false;
      for (int dy = -2; dy <= 2 && !found; ++dy)
        for (int dx = -2; dx <= 2 && !found; ++dx) {
          const int px = rx + dx, py = ry + dy;
          found = px >= 0 && py >= 0 && px < 121 && py < 121 && harness.surface().PixelAt(px, py) != 0;
        }
      if (!found) ++unmatched;
    }
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(unmatched, 0);
  kCyclicOperations.free(&harness.slot());
}

TEST(CyclicDrawingTest, TheColourWalksUpAndDownThePalette) {
  ModuleHarness harness(kModuleCyclic, 60, 40);
  SeedRandom(78);
  harness.SetControl(kDiameter, 3);
  harness.SetControl(kSpasticity, 40);
  Start(harness);
  int expected = 0, step = 1, seen = 0;
  std::vector<uint8_t> previous = harness.Pixels();
  for (int frame = 0; frame < 500; ++frame) {
    expected += step;
    if (expected == 235 || expected == 0) step = -step;
    Frames(harness, 1);
    const std::vector<uint8_t> now = harness.Pixels();
    std::set<uint8_t> painted;
    for (size_t i = 0; i < now.size(); ++i)
      if (now[i] != previous[i]) painted.insert(now[i]);
    ASSERT_LE(painted.size(), 1u) << "frame " << frame;
    if (!painted.empty()) {
      ++seen;
      ASSERT_EQ(*painted.begin(), gdi::PixelOfEntry(expected)) << "frame " << frame;
    }
    previous = now;
  }
  EXPECT_GT(seen, 100);
  kCyclicOperations.free(&harness.slot());
}

TEST(CyclicDrawingTest, AutomaticSizesBreatheWithinTheirBounds) {
  // "Diameter" 0 with point figures: each step is a round dot as wide as
  // level 1, which breathes between 70 and 140.
  ModuleHarness harness(kModuleCyclic, 400, 400);
  SeedRandom(79);
  harness.SetControl(kDiameter, 0);
  harness.SetControl(kObjects, 1);
  harness.SetControl(kSpasticity, 1);  // the slowest paths: steps of a pixel or two
  Start(harness);
  int narrowest = 1000, widest = 0;
  for (int frame = 0; frame < 200; ++frame) {
    harness.Clear();
    Frames(harness, 1);
    int left = 400, right = -1;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 400; ++x)
        if (harness.surface().PixelAt(x, y) != 0) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    if (right < 0) continue;
    narrowest = std::min(narrowest, right - left + 1);
    widest = std::max(widest, right - left + 1);
  }
  EXPECT_GE(narrowest, 68);
  EXPECT_LE(widest, 146);
  EXPECT_GT(widest - narrowest, 3);
  kCyclicOperations.free(&harness.slot());
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/star.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kStars = 0, kStarSize = 1, kSpeed = 2, kXRevolve = 3, kStarSides = 7, kStarType = 8, kSymmetry = 13 };

class StarDrawingTest : public ::testing::Test {
 protected:
  StarDrawingTest() : harness_(kModuleStar, 160, 120) { SeedRandom(90210); }
  ~StarDrawingTest() override { kStarOperations.free(&harness_.slot()); }

  void Start() {
    kStarOperations.allocate(&harness_.slot());
    kStarOperations.initialise(&harness_.slot());
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(kStarOperations.frame(&harness_.slot()), 0);
  }
  // Pixels that differ from `before`.
  std::vector<size_t> Changed(const std::vector<uint8_t>& before) const {
    const std::vector<uint8_t> now = harness_.Pixels();
    std::vector<size_t> changed;
    for (size_t i = 0; i < now.size(); ++i)
      if (now[i] != before[i]) changed.push_back(i);
    return changed;
  }

  ModuleHarness harness_;
};

TEST_F(StarDrawingTest, TheTunnelFliesOutOfARingAroundTheCentre) {
  harness_.SetControl(kStars, 0);
  Start();
  Frames(150);
  // Born at radius 90 and 325..475 units from the eye: at least 37 pixels out.
  int drawn = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      if (harness_.surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      ASSERT_GE(std::hypot(x - 80, y - 60), 36.0) << x << "," << y;
    }
  EXPECT_GT(drawn, 100);
}

TEST_F(StarDrawingTest, StarsThatPassTheEyeAreBornAgain) {
  // At speed 60 every tunnel star reaches the near plane within 8 frames; if
  // passing stars were not reborn, nothing would be drawn after that.
  harness_.SetControl(kStars, 0);
  harness_.SetControl(kSpeed, 60);
  Start();
  Frames(100);
  for (int round = 0; round < 5; ++round) {
    harness_.Clear();
    Frames(10);
    EXPECT_GT(harness_.CountNonBlack(), 0) << "round " << round;
  }
}

TEST_F(StarDrawingTest, EachFrameDrawsInTheNextPaletteColour) {
  harness_.SetControl(kSpeed, 20);
  Start();
  int frames_seen = 0;
  for (int frame = 1; frame <= 300; ++frame) {
    const std::vector<uint8_t> before = harness_.Pixels();
    Frames(1);
    std::set<uint8_t> painted;
    for (size_t i : Changed(before)) painted.insert(harness_.Pixels()[i]);
    ASSERT_LE(painted.size(), 1u) << "frame " << frame;
    if (painted.empty()) continue;
    ++frames_seen;
    ASSERT_EQ(*painted.begin(), gdi::PixelOfEntry(frame % 236)) << "frame " << frame;
  }
  EXPECT_GT(frames_seen, 250);
}

TEST_F(StarDrawingTest, SymmetryRepeatsEveryStreakInQuarterTurns) {
  ModuleHarness square(kModuleStar, 121, 121);
  square.SetControl(kSymmetry, 4);
  square.SetControl(kSpeed, 30);
  kStarOperations.allocate(&square.slot());
  kStarOperations.initialise(&square.slot());
  for (int i = 0; i < 10; ++i) kStarOperations.frame(&square.slot());
  int drawn = 0, unmatched = 0;
  for (int y = 0; y < 121; ++y)
    for (int x = 0; x < 121; ++x) {
      if (square.surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      const int rx = 60 + (y - 60), ry = 60 - (x - 60);
      bool found = false;
      for (int dy = -2; dy <= 2 && !found; ++dy)
        for (int dx = -2; dx <= 2 && !found; ++dx) {
          const int px = rx + dx, py = ry + dy;
          found = px >= 0 && py >= 0 && px < 121 && py < 121 && square.surface().PixelAt(px, py) != 0;
        }
      if (!found) ++unmatched;
    }
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(unmatched, 0);
}

TEST_F(StarDrawingTest, ShapedStarsStampFiguresAlongTheirStreaks) {
  // Sides 4, size 6, black-outlined squares: pixels of the black outline
  // are overwritten again, but the streak is wider than a one-pixel line.
  harness_.SetControl(kStarSides, 4);
  harness_.SetControl(kStarSize, 6);
  harness_.SetControl(kStarType, 1);  // filled in the colour, level 1 drawn
  harness_.SetControl(kSpeed, 30);
  Start();
  Frames(12);
  // A filled square of radius 6 covers a 5x5 block somewhere.
  bool block = false;
  for (int y = 2; y < 118 && !block; ++y)
    for (int x = 2; x < 158 && !block; ++x) {
      bool full = true;
      for (int dy = -2; dy <= 2 && full; ++dy)
        for (int dx = -2; dx <= 2 && full; ++dx) full = harness_.surface().PixelAt(x + dx, y + dy) != 0;
      block = full;
    }
  EXPECT_TRUE(block);
}

TEST_F(StarDrawingTest, WithoutAllocationAFrameDrawsNothing) {
  kStarOperations.initialise(&harness_.slot());
  Frames(5);
  EXPECT_EQ(harness_.CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

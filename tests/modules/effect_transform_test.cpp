#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/effect.h"
#include "modules/kit/overlay_boxes.h"
#include "surface_patterns.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kType = 0, kXStrength = 1, kYStrength = 2, kDisplayInterval = 3 };

constexpr uint32_t kSeed = 4242;

// An Effect module over a surface that holds a pattern without symmetry.
class EffectTest : public ::testing::Test {
 protected:
  void SetUp(int width, int height) {
    harness_ = std::make_unique<ModuleHarness>(kModuleEffect, width, height);
    test::PaintAsymmetricTile(harness_->surface(), 0, 0, width, height);
    harness_->SetControl(kDisplayInterval, 0);
  }
  // One application of `type` drawn from `seed`.
  void Apply(int type, uint32_t seed = kSeed) {
    harness_->SetControl(kType, type);
    kEffectOperations.allocate(&harness_->slot());
    kEffectOperations.initialise(&harness_->slot());
    SeedRandom(seed);
    ASSERT_EQ(kEffectOperations.frame(&harness_->slot()), 0);
  }
  uint8_t At(int x, int y) const { return harness_->surface().PixelAt(x, y); }

  std::unique_ptr<ModuleHarness> harness_;
};

TEST_F(EffectTest, EveryInversionAppliedTwiceRestoresThePicture) {
  for (int type : {0, 1, 2, 3, 4, 5, 18}) {
    SetUp(157, 103);
    harness_->SetControl(kXStrength, 11);
    harness_->SetControl(kYStrength, 7);
    const std::vector<uint8_t> before = harness_->Pixels();
    Apply(type);
    EXPECT_NE(harness_->Pixels(), before) << "type " << type;
    Apply(type);
    EXPECT_EQ(harness_->Pixels(), before) << "type " << type;
  }
}

TEST_F(EffectTest, RectanglesThenTheirTransposeWithEqualStepsLeaveTheScreenUnchanged) {
  SeedRandom(kSeed);
  const int xJitter = Rand() % 8;
  const int yJitter = Rand() % 8;
  SetUp(120, 90);
  harness_->SetControl(kXStrength, 30);
  harness_->SetControl(kYStrength, 30 + xJitter - yJitter);
  const std::vector<uint8_t> before = harness_->Pixels();
  Apply(2);
  EXPECT_EQ(harness_->Pixels(), before);
}

TEST_F(EffectTest, NestedRectanglesAlternateAndLeaveTheLastColumnAndRowAlone) {
  SeedRandom(kSeed);
  const int x = 20 + Rand() % 8;
  const int y = 10 + Rand() % 8;
  SetUp(200, 150);
  harness_->SetControl(kXStrength, 20);
  harness_->SetControl(kYStrength, 10);
  const std::vector<uint8_t> before = harness_->Pixels();
  Apply(0);
  // The area is (0, 0, width - 1, height - 1): the right column and bottom row stay.
  for (int row = 0; row < 150; ++row) EXPECT_EQ(At(199, row), before[row * 200 + 199]);
  for (int column = 0; column < 200; ++column) EXPECT_EQ(At(column, 149), before[149 * 200 + column]);
  // The outer frame is inverted once, the next frame twice.
  EXPECT_EQ(At(0, 0), before[0] ^ 0xFF);
  EXPECT_EQ(At(x - 1, y - 1), before[(y - 1) * 200 + x - 1] ^ 0xFF);
  EXPECT_EQ(At(x, y), before[y * 200 + x]);
  EXPECT_EQ(At(2 * x, 2 * y), before[2 * y * 200 + 2 * x] ^ 0xFF);
}

// Whether the value at (x, y) of `picture` appears within one pixel of (sx, sy) in `source`.
bool NearMatch(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& source, int width, int height, int x,
               int y, int sx, int sy) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int px = sx + dx, py = sy + dy;
      if (px >= 0 && py >= 0 && px < width && py < height && picture[y * width + x] == source[py * width + px])
        return true;
    }
  return false;
}

// Counts the pixels of the w x h area whose mirror images (right half, bottom
// half) do not show what lies at their originals, give or take the one pixel a
// stretch by one adds.
int MirrorMismatches(const std::vector<uint8_t>& picture, int surfaceWidth, int surfaceHeight, int w, int h) {
  int mismatches = 0;
  for (int y = 0; y < h / 2; ++y)
    for (int x = 0; x < w / 2; ++x) {
      if (!NearMatch(picture, picture, surfaceWidth, surfaceHeight, w - 1 - x, y, x, y)) ++mismatches;
      if (!NearMatch(picture, picture, surfaceWidth, surfaceHeight, x, h - 1 - y, x, y)) ++mismatches;
      if (!NearMatch(picture, picture, surfaceWidth, surfaceHeight, w - 1 - x, h - 1 - y, w - 1 - x, y)) ++mismatches;
    }
  return mismatches;
}

TEST_F(EffectTest, AKaleidoscopeOfDepthOneMirrorsTheTopLeftQuarter) {
  SetUp(96, 64);
  const std::vector<uint8_t> before = harness_->Pixels();
  EXPECT_GT(MirrorMismatches(before, 96, 64, 96, 64), 1000);
  Apply(6);
  const std::vector<uint8_t> after = harness_->Pixels();
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) ASSERT_EQ(after[y * 96 + x], before[y * 96 + x]) << x << "," << y;
  EXPECT_EQ(MirrorMismatches(after, 96, 64, 96, 64), 0);
}

TEST_F(EffectTest, DeeperKaleidoscopesFoldEveryQuarterAgain) {
  SetUp(96, 64);
  const std::vector<uint8_t> before = harness_->Pixels();
  Apply(8);  // depth 3: the top-left eighth by eighth is the seed
  const std::vector<uint8_t> after = harness_->Pixels();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(after[y * 96 + x], before[y * 96 + x]);
  EXPECT_EQ(MirrorMismatches(after, 96, 64, 96, 64), 0);
  EXPECT_EQ(MirrorMismatches(after, 96, 64, 48, 32), 0);
  EXPECT_EQ(MirrorMismatches(after, 96, 64, 24, 16), 0);
}

TEST_F(EffectTest, ARandomSeedRegionIsTakenFromTheScreenAndMirrored) {
  SetUp(96, 64);
  const std::vector<uint8_t> before = harness_->Pixels();
  const std::set<uint8_t> original(before.begin(), before.end());
  Apply(12);
  const std::vector<uint8_t> after = harness_->Pixels();
  EXPECT_NE(after, before);
  EXPECT_EQ(MirrorMismatches(after, 96, 64, 96, 64), 0);
  for (uint8_t v : after) ASSERT_TRUE(original.count(v));
}

TEST_F(EffectTest, StripesInvertEveryOtherBandOfColumnsThenOfRows) {
  SeedRandom(kSeed);
  const int x = 10 + Rand() % 8;
  const int y = 10 + Rand() % 8;
  SetUp(100, 80);
  harness_->SetControl(kXStrength, 10);
  harness_->SetControl(kYStrength, 10);
  const std::vector<uint8_t> before = harness_->Pixels();
  Apply(18);
  int columnBands = 0;
  for (int left = 0; left < 100 - x; left += x) ++columnBands;
  // The toggle runs on from the columns: the first row band is on when the
  // column bands were even in number.
  const bool firstRowBandOn = columnBands % 2 == 0;
  const int belowFirstRowBand = y;  // a row in the second row band
  // A column in the first band, on a row outside any inverted row band.
  const int plainRow = firstRowBandOn ? belowFirstRowBand : 0;
  EXPECT_EQ(At(0, plainRow), before[plainRow * 100] ^ 0xFF);
  EXPECT_EQ(At(x, plainRow), before[plainRow * 100 + x]);
}

TEST_F(EffectTest, NothingHappensBeforeTheDisplayIntervalHasPassed) {
  SetUp(64, 48);
  harness_->SetControl(kDisplayInterval, 20);
  harness_->SetControl(kType, 0);
  const std::vector<uint8_t> before = harness_->Pixels();
  kEffectOperations.allocate(&harness_->slot());
  kEffectOperations.initialise(&harness_->slot());
  ManualClock::now += 19999;
  kEffectOperations.frame(&harness_->slot());
  EXPECT_EQ(harness_->Pixels(), before);
  ManualClock::now += 1;
  kEffectOperations.frame(&harness_->slot());
  EXPECT_NE(harness_->Pixels(), before);
  // The next effect is 20 seconds away again.
  const std::vector<uint8_t> once = harness_->Pixels();
  ManualClock::now += 19999;
  kEffectOperations.frame(&harness_->slot());
  EXPECT_EQ(harness_->Pixels(), once);
}

TEST_F(EffectTest, VisibleInformationBoxesAreLeftAlone) {
  for (int type : {0, 1, 7, 13, 18, 22}) {
    SetUp(120, 90);
    const std::vector<uint8_t> before = harness_->Pixels();
    OverlayBoxes()[kDisplayNameBox] = {{10, 10, 50, 40}, 0};
    ExcludeOverlayBoxes(harness_->surface());
    Apply(type);
    ResetOverlayBoxes();
    EXPECT_NE(harness_->Pixels(), before) << "type " << type;
    for (int y = 10; y < 40; ++y)
      for (int x = 10; x < 50; ++x) ASSERT_EQ(At(x, y), before[y * 120 + x]) << "type " << type;
  }
}

TEST_F(EffectTest, AbsurdSurfacesTakeEveryTypeAndStrength) {
  const std::vector<std::pair<int, int>> sizes{{1, 1}, {1, 4000}, {4000, 1}, {2, 2}, {3, 5}};
  for (auto [width, height] : sizes) {
    for (int type = 0; type <= 25; ++type) {
      for (auto [xs, ys] : {std::pair{2, 2}, std::pair{320, 240}}) {
        SetUp(width, height);
        harness_->SetControl(kXStrength, xs);
        harness_->SetControl(kYStrength, ys);
        const std::vector<uint8_t> before = harness_->Pixels();
        const std::set<uint8_t> original(before.begin(), before.end());
        Apply(type);
        for (uint8_t v : harness_->Pixels()) {
          // Copies keep the picture's own values, inversions their inverses,
          // blobs draw animated entries.
          const bool known = original.count(v) || original.count(v ^ 0xFF) ||
                             (v >= gdi::kFirstAnimatedPixel && v < gdi::kFirstAnimatedPixel + gdi::kAnimatedEntries);
          ASSERT_TRUE(known) << width << "x" << height << " type " << type;
        }
      }
    }
  }
}

}  // namespace
}  // namespace fluxo

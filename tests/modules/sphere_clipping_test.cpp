#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "module_harness.h"
#include "modules/kit/overlay_boxes.h"
#include "modules/sphere.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kSize = 0, kSymmetry = 1, kType = 2, kImageDuration = 3, kXTiling = 4, kYTiling = 5, kTileType = 6 };
enum { kClipToWedge = 1, kMirror = 2, kRandomSize = 4, kSquares = 8, kClipToTile = 32 };

class SphereTest : public ::testing::Test {
 protected:
  void Start(int width, int height, uint32_t seed = 31) {
    harness_ = std::make_unique<ModuleHarness>(kModuleSphere, width, height);
    for (auto [index, value] : controls_) harness_->SetControl(index, value);
    SeedRandom(seed);
    kSphereOperations.allocate(&harness_->slot());
    kSphereOperations.initialise(&harness_->slot());
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(kSphereOperations.frame(&harness_->slot()), 0);
  }
  void TearDown() override {
    if (harness_) kSphereOperations.free(&harness_->slot());
    ResetOverlayBoxes();
  }
  // Counts drawn pixels in [x0, x1) x [y0, y1).
  int DrawnIn(int x0, int y0, int x1, int y1) const {
    int drawn = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) drawn += harness_->surface().PixelAt(x, y) != 0;
    return drawn;
  }

  std::vector<std::pair<int, int>> controls_;
  std::unique_ptr<ModuleHarness> harness_;
};

// Drawn pixels farther than `tolerance` outside the regular n-gon of radius
// r about (cx, cy) whose corners lie at angles k * 2 pi / n (x = sin, y = cos):
// the union of the n wedges.
int PixelsOutsideWedges(const gdi::FrameSurface& surface, int n, double cx, double cy, double r, double tolerance) {
  std::vector<std::array<double, 2>> corners;
  const double step = 6.2832 / n;
  for (int k = 0; k < n; ++k) corners.push_back({cx + std::sin(step * k) * r, cy + std::cos(step * k) * r});
  int outside = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      if (surface.PixelAt(x, y) == 0) continue;
      for (int k = 0; k < n; ++k) {
        const auto& a = corners[k];
        const auto& b = corners[(k + 1) % n];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double length = std::hypot(ex, ey);
        // Positive toward the centre side of the edge.
        const double toCentre = ((cx - a[0]) * ey - (cy - a[1]) * ex) / length;
        const double toPixel = ((x - a[0]) * ey - (y - a[1]) * ex) / length;
        if ((toCentre > 0 ? toPixel : -toPixel) < -tolerance) {
          ++outside;
          break;
        }
      }
    }
  }
  return outside;
}

TEST_F(SphereTest, WedgeClippingKeepsEveryStampInsideItsWedge) {
  controls_ = {{kSize, 250}, {kSymmetry, 3}, {kType, kSquares | kClipToWedge}};
  Start(120, 120);
  Frames(12);
  const double radius = std::sqrt(60.0 * 60.0 + 60.0 * 60.0);
  EXPECT_GT(harness_->CountNonBlack(), 2000);
  EXPECT_EQ(PixelsOutsideWedges(harness_->surface(), 3, 60, 60, radius, 2.0), 0);
}

TEST_F(SphereTest, WithoutWedgeClippingStampsCrossTheWedges) {
  controls_ = {{kSize, 250}, {kSymmetry, 3}, {kType, kSquares}};
  Start(120, 120);
  Frames(12);
  const double radius = std::sqrt(60.0 * 60.0 + 60.0 * 60.0);
  EXPECT_GT(PixelsOutsideWedges(harness_->surface(), 3, 60, 60, radius, 2.0), 1000);
}

TEST_F(SphereTest, TwoWedgesNeverClipEvenWhenAsked) {
  // Two wedges are flat triangles; clipping to them would hide every stamp.
  controls_ = {{kSize, 60}, {kSymmetry, 2}, {kType, kClipToWedge}};
  Start(120, 120);
  Frames(3);
  EXPECT_GT(harness_->CountNonBlack(), 1000);
}

TEST_F(SphereTest, TileClippingKeepsEachTilesStampsInsideThatTile) {
  // Tile type 1 selects tiles (1, 0) and (0, 1) only.
  controls_ = {{kSize, 250},  {kSymmetry, 5}, {kType, kClipToTile | kMirror},
               {kXTiling, 2}, {kYTiling, 2},  {kTileType, 1}};
  Start(160, 120);
  Frames(20);
  EXPECT_GT(DrawnIn(80, 0, 160, 60), 0);
  EXPECT_GT(DrawnIn(0, 60, 80, 120), 0);
  EXPECT_EQ(DrawnIn(0, 0, 80, 60), 0);
  EXPECT_EQ(DrawnIn(80, 60, 160, 120), 0);
}

TEST_F(SphereTest, WithoutTileClippingStampsSpillIntoOtherTiles) {
  controls_ = {{kSize, 250}, {kSymmetry, 5}, {kType, kMirror}, {kXTiling, 2}, {kYTiling, 2}, {kTileType, 1}};
  Start(160, 120);
  Frames(20);
  EXPECT_GT(DrawnIn(0, 0, 80, 60) + DrawnIn(80, 60, 160, 120), 0);
}

TEST_F(SphereTest, VisibleInformationBoxesAreNotDrawnOver) {
  OverlayBoxes()[kSloganBox] = {{40, 40, 80, 80}, 0};
  controls_ = {{kSize, 250}, {kSymmetry, 8}};
  Start(120, 120);
  Frames(10);
  EXPECT_GT(harness_->CountNonBlack(), 5000);
  EXPECT_EQ(DrawnIn(40, 40, 80, 80), 0);
  // The boxes stay excluded for whatever draws next.
  ASSERT_TRUE(harness_->surface().ClipRegion().has_value());
  EXPECT_FALSE(harness_->surface().ClipRegion()->Contains(50, 50));
  EXPECT_TRUE(harness_->surface().ClipRegion()->Contains(10, 10));
}

TEST_F(SphereTest, StampsUseOnlyTheAnimatedPalette) {
  controls_ = {{kSize, 40}, {kSymmetry, 6}, {kType, kRandomSize | 16}};
  Start(100, 80);
  Frames(30);
  EXPECT_GT(harness_->CountNonBlack(), 0);
  for (uint8_t v : harness_->Pixels())
    ASSERT_TRUE(v == 0 || (v >= gdi::kFirstAnimatedPixel && v < gdi::kFirstAnimatedPixel + gdi::kAnimatedEntries));
}

TEST_F(SphereTest, AColourMultiplierOfZeroStampsOnlyTheFirstSprite) {
  // With no random controls the multiplier is the first draw of initialise.
  uint32_t seed = 1;
  for (;; ++seed) {
    SeedRandom(seed);
    if (Rand() % 8 == 0) break;
  }
  controls_ = {{kSize, 40}, {kSymmetry, 7}};
  Start(100, 80, seed);
  Frames(20);
  // Sprite 0 holds colours 0 .. 20 (its 21 rings).
  EXPECT_GT(harness_->CountNonBlack(), 0);
  for (uint8_t v : harness_->Pixels()) ASSERT_TRUE(v == 0 || (v >= gdi::PixelOfEntry(0) && v <= gdi::PixelOfEntry(20)));
}

TEST_F(SphereTest, AbsurdSurfacesAndExtremeControlsStayInsideTheBuffers) {
  const std::vector<std::pair<int, int>> sizes{{1, 1}, {1, 4000}, {4000, 1}, {3, 2}};
  const std::vector<std::vector<std::pair<int, int>>> settings{
      {{kSize, 250}, {kSymmetry, 128}, {kType, 63}, {kXTiling, 20}},
      {{kSize, 250}, {kSymmetry, 128}, {kType, 63}, {kYTiling, 20}, {kTileType, 1}},
      {{kSize, 15}, {kSymmetry, 2}, {kType, kRandomSize | kClipToWedge}, {kTileType, 1}},
      {{kSize, 15}, {kSymmetry, 3}, {kType, 24 | kClipToTile}, {kXTiling, 20}, {kYTiling, 20}, {kTileType, 2}},
  };
  for (auto [width, height] : sizes) {
    for (const auto& setting : settings) {
      controls_ = setting;
      controls_.push_back({kImageDuration, 1});
      Start(width, height);
      Frames(1);
      ManualClock::now += 1001;  // past the deadline: the sprites are rebuilt
      Frames(1);
      for (uint8_t v : harness_->Pixels())
        ASSERT_TRUE(v == 0 || (v >= gdi::kFirstAnimatedPixel && v < gdi::kFirstAnimatedPixel + gdi::kAnimatedEntries));
      kSphereOperations.free(&harness_->slot());
      harness_.reset();
    }
  }
}

TEST_F(SphereTest, DrivenSymmetryTilingAndSizeTakeTheirWholeRange) {
  harness_ = std::make_unique<ModuleHarness>(kModuleSphere, 60, 40);
  harness_->Oscillate(kSymmetry, 2, 128);
  harness_->Oscillate(kXTiling, 1, 20);
  harness_->Oscillate(kYTiling, 4, 1);
  harness_->Oscillate(kSize, 15, 40);
  harness_->SetControl(kType, kClipToWedge | kRandomSize);
  SeedRandom(8);
  kSphereOperations.allocate(&harness_->slot());
  kSphereOperations.initialise(&harness_->slot());
  Frames(45);  // more than one whole oscillation
  EXPECT_GT(harness_->CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

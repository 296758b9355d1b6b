#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "module_harness.h"
#include "modules/effect.h"
#include "modules/kit/shaded_blob.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

gdi::FrameSurface BlackSurface(int width, int height) {
  gdi::FrameSurface surface(width, height);
  std::fill_n(surface.MutablePixels(), width * height, 0);
  return surface;
}

int CountNonBlack(const gdi::FrameSurface& surface) {
  return static_cast<int>(std::count_if(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height(),
                                        [](uint8_t v) { return v != 0; }));
}

TEST(ShadedBlobTest, SquaresGetOneColourStepPerRingTowardTheMiddle) {
  gdi::FrameSurface surface = BlackSurface(40, 40);
  constexpr int kStart = 30, kSize = 16, kR = kSize / 2;
  kit::DrawShadedBlob(surface, 20, 20, kStart, kSize, kit::kBlobSquares);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int dx = x - 20, dy = y - 20;
      // Without a pen a box fills one pixel short of its right and bottom
      // edges: ring k covers 20 - k .. 20 + k - 2 on both axes.
      const int ring = std::max({-dx, dx + 2, -dy, dy + 2});
      if (ring > kR - 1) {
        ASSERT_EQ(surface.PixelAt(x, y), 0) << x << "," << y;
      } else {
        ASSERT_EQ(surface.PixelAt(x, y), gdi::PixelOfEntry(kStart + kR - 1 - ring)) << x << "," << y;
      }
    }
  }
}

TEST(ShadedBlobTest, DiscsAreRoundAndBrightestInTheMiddle) {
  gdi::FrameSurface surface = BlackSurface(40, 40);
  kit::DrawShadedBlob(surface, 20, 20, 0, 20, kit::kBlobDiscs + 3);
  // The last two discs are too small to reach the centre pixel.
  EXPECT_EQ(surface.PixelAt(20, 20), gdi::PixelOfEntry(7));
  EXPECT_EQ(surface.PixelAt(11, 11), 0);  // a square's corner, not a disc's
  EXPECT_NE(surface.PixelAt(11, 20), 0);
  // Colours never fall toward the middle.
  for (int x = 11; x < 20; ++x) EXPECT_LE(surface.PixelAt(x, 20), surface.PixelAt(x + 1, 20));
}

TEST(ShadedBlobTest, BarsStepByThreePixelsAcrossOrDown) {
  constexpr int kR = 6;
  gdi::FrameSurface vertical = BlackSurface(40, 40);
  kit::DrawShadedBlob(vertical, 20, 20, 100, 2 * kR, kit::kBlobVerticalBars);
  gdi::FrameSurface horizontal = BlackSurface(40, 40);
  kit::DrawShadedBlob(horizontal, 20, 20, 100, 2 * kR, kit::kBlobHorizontalBars + 7);
  for (int i = 0; i < kR; ++i) {
    for (int along = 20 - kR; along < 20 + kR - 1; ++along) {
      for (int across = 0; across < 3; ++across) {
        const int at = 20 + 3 * i - kR + across;
        ASSERT_EQ(vertical.PixelAt(at, along), gdi::PixelOfEntry(100 + i)) << i;
        ASSERT_EQ(horizontal.PixelAt(along, at), gdi::PixelOfEntry(100 + i)) << i;
      }
    }
  }
  EXPECT_EQ(vertical.PixelAt(20, 20 + kR - 1), 0);
  EXPECT_EQ(horizontal.PixelAt(20 + kR - 1, 20), 0);
}

TEST(ShadedBlobTest, ColoursWrapRoundThePaletteAndTinySizesDrawNothing) {
  gdi::FrameSurface surface = BlackSurface(30, 30);
  kit::DrawShadedBlob(surface, 15, 15, 233, 12, kit::kBlobSquares);
  EXPECT_EQ(surface.PixelAt(10, 15), gdi::PixelOfEntry(233));
  EXPECT_EQ(surface.PixelAt(15, 15), gdi::PixelOfEntry((233 + 3) % 236));
  gdi::FrameSurface tiny = BlackSurface(30, 30);
  kit::DrawShadedBlob(tiny, 15, 15, 5, 1, kit::kBlobSquares);
  kit::DrawShadedBlob(tiny, 15, 15, 5, 0, kit::kBlobDiscs);
  kit::DrawShadedBlob(tiny, 15, 15, 5, -7, kit::kBlobVerticalBars);
  EXPECT_EQ(CountNonBlack(tiny), 0);
}

TEST(ShadedBlobTest, ThePenAndBrushAreLeftAsTheyWere) {
  gdi::FrameSurface surface = BlackSurface(30, 30);
  surface.SelectPen(gdi::Pen::Solid(3, gdi::PaletteIndex(7)));
  surface.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex(9)));
  kit::DrawShadedBlob(surface, 15, 15, 5, 10, kit::kBlobDiscs);
  EXPECT_EQ(surface.CurrentPen().width, 3);
  EXPECT_EQ(surface.CurrentPen().color, gdi::PaletteIndex(7));
  EXPECT_EQ(surface.CurrentBrush().color, gdi::PaletteIndex(9));
}

enum { kType = 0, kXStrength = 1, kYStrength = 2, kDisplayInterval = 3 };
constexpr uint32_t kSeed = 99;

struct BlobRun {
  std::vector<gdi::Point> centres;  // where the module will drop them
  int count = 0;
};

// Drops square blobs (type 22) with strengths chosen so that X = x and Y = y,
// and says where they land.
BlobRun DropSquares(ModuleHarness& harness, int x, int y) {
  SeedRandom(kSeed);
  const int xJitter = Rand() % 8, yJitter = Rand() % 8;
  BlobRun run;
  run.count = x % 20;
  for (int i = 0; i < run.count; ++i) {
    const int px = Rand() % (harness.surface().Width() - 1);
    const int py = Rand() % (harness.surface().Height() - 1);
    run.centres.push_back({px, py});
  }
  harness.SetControl(kType, 22);
  harness.SetControl(kXStrength, x - xJitter);
  harness.SetControl(kYStrength, y - yJitter);
  harness.SetControl(kDisplayInterval, 0);
  kEffectOperations.allocate(&harness.slot());
  kEffectOperations.initialise(&harness.slot());
  SeedRandom(kSeed);
  kEffectOperations.frame(&harness.slot());
  return run;
}

TEST(EffectBlobTest, XModTwentyBlobsOfYModThirtyPixels) {
  ModuleHarness harness(kModuleEffect, 500, 400);
  const BlobRun run = DropSquares(harness, 27, 42);  // 7 blobs of size 12
  ASSERT_EQ(run.count, 7);
  for (size_t a = 0; a < run.centres.size(); ++a)
    for (size_t b = a + 1; b < run.centres.size(); ++b)
      ASSERT_TRUE(std::abs(run.centres[a].x - run.centres[b].x) > 12 ||
                  std::abs(run.centres[a].y - run.centres[b].y) > 12)
          << "the seed should keep the blobs apart";
  // Squares of size 12: r = 6, the outer ring covers 5 pixels left and up of
  // the centre and 3 right and down.
  int inside = 0;
  for (const gdi::Point& c : run.centres) {
    EXPECT_NE(harness.surface().PixelAt(c.x, c.y), 0);
    const int left = std::max(c.x - 5, 0), right = std::min(c.x + 4, 500);
    const int top = std::max(c.y - 5, 0), bottom = std::min(c.y + 4, 400);
    inside += (right - left) * (bottom - top);
  }
  EXPECT_EQ(harness.CountNonBlack(), inside);
}

TEST(EffectBlobTest, NoBlobsWhenXIsAMultipleOfTwentyOrYModThirtyIsBelowTwo) {
  ModuleHarness harness(kModuleEffect, 200, 200);
  DropSquares(harness, 40, 42);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  DropSquares(harness, 27, 61);
  EXPECT_EQ(harness.CountNonBlack(), 0);
  DropSquares(harness, 27, 64);  // size 4: one pixel per blob
  EXPECT_EQ(harness.CountNonBlack(), 7);
}

TEST(EffectBlobTest, EachBlobStartsFromTheColourUnderItsCentre) {
  ModuleHarness harness(kModuleEffect, 300, 300);
  // Every pixel shows entry 50, so every blob's outer ring is 50 and its
  // centre pixel, in ring 2, is 50 + r - 3.
  std::fill_n(harness.surface().MutablePixels(), 300 * 300, gdi::PixelOfEntry(50));
  const BlobRun run = DropSquares(harness, 23, 40);  // 3 blobs of size 10
  ASSERT_EQ(run.count, 3);
  for (const gdi::Point& c : run.centres) {
    EXPECT_EQ(harness.surface().PixelAt(c.x, c.y), gdi::PixelOfEntry(50 + 2));
  }
}

}  // namespace
}  // namespace fluxo

#include "modules/kit/ring_strips.h"

#include <gtest/gtest.h>

#include <vector>

#include "modules/kit/ring_sequence.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr uint8_t kUntouched = 250;

gdi::FrameSurface Surface(int width, int height) {
  gdi::FrameSurface surface(width, height);
  std::fill_n(surface.MutablePixels(), width * height, kUntouched);
  return surface;
}

uint8_t Value(int x, int y) { return static_cast<uint8_t>(x * 10 + y); }
int Pixel(int x, int y) { return 10 + Value(x, y); }

TEST(RingStripsTest, RingsShowTheirValuesUpsideDownAndTouchNothingElse) {
  gdi::FrameSurface surface = Surface(12, 9);
  RingStrips strips;
  ASSERT_TRUE(strips.Allocate(12, 9));
  const RingRect ring{2, 1, 7, 5};
  strips.DrawRing(surface, ring, 0, 0, Value);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool onRing = x >= 2 && x <= 7 && y >= 1 && y <= 5 && (x == 2 || x == 7 || y == 1 || y == 5);
      if (!onRing) {
        ASSERT_EQ(surface.PixelAt(x, y), kUntouched) << x << "," << y;
        continue;
      }
      // The value of (x, top + bottom - y): rows swap, columns run bottom-up.
      ASSERT_EQ(surface.PixelAt(x, y), Pixel(x, 1 + 5 - y)) << x << "," << y;
    }
}

TEST(RingStripsTest, FoldedRingsZigZagTheirFirstSamples) {
  gdi::FrameSurface surface = Surface(20, 12);
  RingStrips strips;
  ASSERT_TRUE(strips.Allocate(20, 12));
  const RingRect ring{0, 0, 16, 10};  // 2 folds: segments of 9 across, 6 down
  auto top = [](int k) { return static_cast<uint8_t>(100 + k); };
  auto right = [](int k) { return static_cast<uint8_t>(200 + k); };
  strips.DrawFoldedRing(surface, ring, 2, 0, top, right);
  // Samples 0..9 come from the top (only 16 along it, 10 wanted).
  for (int x = 0; x <= 16; ++x) {
    const int k = x % 9;
    const int sample = (x / 9) % 2 == 0 ? k : 9 - k;
    if (x > 0 && x < 16) {
      EXPECT_EQ(surface.PixelAt(x, 10), 10 + 100 + sample) << x;  // bottom row
      EXPECT_EQ(surface.PixelAt(x, 0), 10 + 100 + sample) << x;   // copied to the top
    }
  }
  for (int k = 0; k <= 10; ++k) {
    const int sample = (k / 6) % 2 == 0 ? k % 6 : 6 - k % 6;
    EXPECT_EQ(surface.PixelAt(0, 10 - k), 10 + 100 + sample) << k;   // left column, bottom-up
    EXPECT_EQ(surface.PixelAt(16, 10 - k), 10 + 100 + sample) << k;  // copied to the right
  }
}

TEST(RingStripsTest, DiffuseBrightensUpToTheLastIndexAndDrawsOnlyWhenAsked) {
  std::vector<uint8_t> values(40, 230);
  SeedRandom(5);
  Diffuse(values.data(), 40, 1, 0);
  EXPECT_EQ(values, std::vector<uint8_t>(40, 230));
  const int next = Rand();
  SeedRandom(5);
  EXPECT_EQ(Rand(), next);  // nothing was drawn for amount 0
  Diffuse(values.data(), 10, 4, 64);
  for (int i = 0; i < 40; ++i) {
    if (i % 4 == 0)
      EXPECT_TRUE(values[i] >= 230 && values[i] <= 235) << i;
    else
      EXPECT_EQ(values[i], 230) << i;
  }
}

TEST(RingSequenceTest, TheMasterTileIsTheFirstSelectedOfTheFirstRowOrColumn) {
  RingRect ring{1, 2, 5, 6};
  EXPECT_TRUE(MoveIntoMasterTile(TileLayout::ForSurface(40, 30, 4, 3, 0), ring));
  EXPECT_EQ(ring.left, 1);
  EXPECT_TRUE(MoveIntoMasterTile(TileLayout::ForSurface(40, 30, 4, 3, 1), ring));
  EXPECT_EQ(ring.left, 11);
  EXPECT_EQ(ring.right, 15);
  RingRect column{1, 2, 5, 6};
  EXPECT_TRUE(MoveIntoMasterTile(TileLayout::ForSurface(40, 30, 1, 3, 1), column));
  EXPECT_EQ(column.top, 12);
  EXPECT_EQ(column.bottom, 16);
  RingRect single{1, 2, 5, 6};
  EXPECT_FALSE(MoveIntoMasterTile(TileLayout::ForSurface(40, 30, 1, 1, 1), single));
}

TEST(RingSequenceTest, InwardRingsShrinkThreeAFrameUntilNoneIsLeft) {
  gdi::FrameSurface surface = Surface(20, 15);
  const TileLayout layout = TileLayout::ForSurface(20, 15, 1, 1, 0);
  InwardRings rings;
  rings.Restart(20, 15);
  std::vector<RingRect> drawn;
  int frames = 0;
  while (rings.DrawFrame(surface, layout, [&](const RingRect& r) { drawn.push_back(r); })) ++frames;
  ASSERT_EQ(drawn.size(), 8u);  // rows 0..14 take eight rings
  EXPECT_EQ(frames, 2);         // the third frame draws two and finds the ring empty
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(drawn[i].left, i);
    EXPECT_EQ(drawn[i].top, i);
    EXPECT_EQ(drawn[i].right, 19 - i);
    EXPECT_EQ(drawn[i].bottom, 14 - i);
  }
}

}  // namespace
}  // namespace fluxo::kit

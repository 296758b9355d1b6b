#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "module_harness.h"
#include "modules/polygon.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kVertices = 0, kSymmetry = 1, kSpeed = 2, kOutline = 3, kXTiling = 4, kYTiling = 5, kTileType = 6 };

constexpr uint32_t kSeed = 2718;

class PolygonTest : public ::testing::Test {
 protected:
  void Start(int width, int height, const std::vector<std::pair<int, int>>& controls) {
    harness_ = std::make_unique<ModuleHarness>(kModulePolygon, width, height);
    for (auto [index, value] : controls) harness_->SetControl(index, value);
    SeedRandom(kSeed);
    kPolygonOperations.allocate(&harness_->slot());
    kPolygonOperations.initialise(&harness_->slot());
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(kPolygonOperations.frame(&harness_->slot()), 0);
  }
  std::set<uint8_t> Values() const {
    std::set<uint8_t> values;
    for (uint8_t v : harness_->Pixels())
      if (v != 0) values.insert(v);
    return values;
  }

  std::unique_ptr<ModuleHarness> harness_;
};

TEST_F(PolygonTest, TheOutlineTakesTheMirroredColourAroundTheFill) {
  Start(120, 90, {{kVertices, 5}, {kSymmetry, 1}, {kOutline, 0}});
  Frames(1);
  const std::vector<uint8_t> filled = harness_->Pixels();
  // The first frame fills in colour 2.
  EXPECT_EQ(Values(), std::set<uint8_t>{gdi::PixelOfEntry(2)});

  Start(120, 90, {{kVertices, 5}, {kSymmetry, 1}, {kOutline, 1}});
  Frames(1);
  const std::vector<uint8_t> outlined = harness_->Pixels();
  EXPECT_EQ(Values(), (std::set<uint8_t>{gdi::PixelOfEntry(2), gdi::PixelOfEntry(234)}));
  // The same polygon: the outline only adds to the fill's edge, and what
  // still shows the fill colour was filled without the outline too.
  int outlinePixels = 0;
  for (size_t i = 0; i < filled.size(); ++i) {
    if (outlined[i] == gdi::PixelOfEntry(2)) {
      EXPECT_NE(filled[i], 0) << i;
    }
    if (outlined[i] == gdi::PixelOfEntry(234)) ++outlinePixels;
    if (filled[i] != 0) {
      EXPECT_NE(outlined[i], 0) << i;
    }
  }
  EXPECT_GT(outlinePixels, 20);
}

TEST_F(PolygonTest, AtColourZeroTheOutlineShowsTheLastPaletteEntry) {
  Start(120, 90, {{kVertices, 4}, {kSymmetry, 1}, {kOutline, 1}});
  // The colour runs 2, 3, ..., 235, 234, ..., 0: it reaches 0 on frame 469.
  Frames(468);
  harness_->Clear();
  Frames(1);
  EXPECT_EQ(Values(), (std::set<uint8_t>{gdi::PixelOfEntry(0), gdi::PixelOfEntry(235)}));
}

TEST_F(PolygonTest, TwoVerticesDrawAnOutlinedLineEvenWithoutTheOutlineControl) {
  Start(120, 90, {{kVertices, 2}, {kSymmetry, 1}, {kOutline, 0}});
  Frames(1);
  EXPECT_EQ(Values(), std::set<uint8_t>{gdi::PixelOfEntry(234)});
  EXPECT_GT(harness_->CountNonBlack(), 1);
  Frames(20);
  EXPECT_GT(Values().size(), 10u);  // a line per frame, each in its own colour
}

TEST_F(PolygonTest, SymmetryDrawsRotatedCopiesAboutTheCentre) {
  Start(81, 81, {{kVertices, 3}, {kSymmetry, 4}});
  Frames(1);
  // Quarter turns about (40, 40): wherever one copy filled, the next one did
  // too, give or take the rounding of the rotated vertices.
  int drawn = 0, unmatched = 0;
  for (int y = 0; y < 81; ++y)
    for (int x = 0; x < 81; ++x) {
      if (harness_->surface().PixelAt(x, y) == 0) continue;
      ++drawn;
      const int rx = 40 + (y - 40), ry = 40 - (x - 40);
      bool found = false;
      for (int dy = -2; dy <= 2 && !found; ++dy)
        for (int dx = -2; dx <= 2 && !found; ++dx) {
          const int px = rx + dx, py = ry + dy;
          found = px >= 0 && py >= 0 && px < 81 && py < 81 && harness_->surface().PixelAt(px, py) != 0;
        }
      unmatched += !found;
    }
  EXPECT_GT(drawn, 100);
  EXPECT_EQ(unmatched, 0);
}

TEST_F(PolygonTest, EveryTileShowsTheSameShrunkenPolygon) {
  // Without symmetry the vertices stay on the surface, so no copy reaches
  // past its own tile.
  Start(100, 80, {{kVertices, 6}, {kSymmetry, 1}, {kXTiling, 2}, {kYTiling, 2}});
  Frames(5);
  int drawn = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) {
      const uint8_t v = harness_->surface().PixelAt(x, y);
      drawn += v != 0;
      ASSERT_EQ(harness_->surface().PixelAt(x + 50, y), v);
      ASSERT_EQ(harness_->surface().PixelAt(x, y + 40), v);
      ASSERT_EQ(harness_->surface().PixelAt(x + 50, y + 40), v);
    }
  EXPECT_GT(drawn, 0);
}

TEST_F(PolygonTest, TileTypeOneLeavesTheEvenTilesAlone) {
  Start(100, 80, {{kVertices, 6}, {kSymmetry, 1}, {kXTiling, 2}, {kYTiling, 2}, {kTileType, 1}});
  Frames(30);
  int even = 0, odd = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      const bool oddTile = (x / 50 + y / 40) % 2 == 1;
      (oddTile ? odd : even) += harness_->surface().PixelAt(x, y) != 0;
    }
  EXPECT_EQ(even, 0);
  EXPECT_GT(odd, 0);
}

TEST_F(PolygonTest, PolygonsPileUpAndAreNeverErased) {
  Start(90, 70, {{kVertices, 3}, {kSymmetry, 4}, {kSpeed, 9}});
  int previous = 0;
  for (int frame = 0; frame < 60; ++frame) {
    Frames(1);
    const int now = harness_->CountNonBlack();
    ASSERT_GE(now, previous) << "frame " << frame;
    previous = now;
  }
  // After 100 seconds the vertices are placed anew and the drawing goes on.
  ManualClock::now += 100001;
  Frames(2);
  EXPECT_GE(harness_->CountNonBlack(), previous);
}

TEST_F(PolygonTest, AbsurdSurfacesAndExtremeControlsStayInsideTheBuffers) {
  const std::vector<std::pair<int, int>> sizes{{1, 1}, {1, 4000}, {4000, 1}, {2, 3}};
  const std::vector<std::vector<std::pair<int, int>>> settings{
      {{kVertices, 20}, {kSymmetry, 50}, {kSpeed, 320}, {kOutline, 1}, {kXTiling, 20}, {kYTiling, 20}},
      {{kVertices, 2}, {kSymmetry, 1}, {kSpeed, 1}, {kTileType, 1}},
      {{kVertices, 3}, {kSymmetry, 7}, {kXTiling, 20}, {kTileType, 2}},
  };
  for (auto [width, height] : sizes) {
    for (const auto& setting : settings) {
      Start(width, height, setting);
      Frames(2);
      ManualClock::now += 100001;  // past the deadline: the vertices are placed anew
      Frames(1);
      for (uint8_t v : harness_->Pixels())
        ASSERT_TRUE(v == 0 || (v >= gdi::kFirstAnimatedPixel && v < gdi::kFirstAnimatedPixel + gdi::kAnimatedEntries));
    }
  }
}

TEST_F(PolygonTest, DrivenSymmetrySpeedAndTilingTakeTheirWholeRange) {
  Start(80, 60, {{kVertices, 4}, {kOutline, 1}});
  harness_->Oscillate(kSymmetry, 1, 50);
  harness_->Oscillate(kSpeed, 320, 1);
  harness_->Oscillate(kXTiling, 1, 20);
  harness_->Oscillate(kYTiling, 20, 1);
  Frames(45);  // more than one whole oscillation
  EXPECT_GT(harness_->CountNonBlack(), 0);
}

}  // namespace
}  // namespace fluxo

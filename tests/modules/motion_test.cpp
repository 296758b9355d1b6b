#include <gtest/gtest.h>

#include <vector>

#include "modules/kit/bouncing_points.h"
#include "modules/kit/palette_dib_header.h"
#include "modules/kit/trail_history.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

TEST(BouncingPointsTest, PlacesPointsFiveFromTheEdgesWithFourDrawsEach) {
  SeedRandom(99);
  BouncingPoints points;
  PlaceBouncingPoints(points, 6, 100, 60);
  ASSERT_EQ(points.count, 6);
  for (int i = 0; i < points.count; ++i) {
    EXPECT_GE(points.position[i].x, 5);
    EXPECT_LE(points.position[i].x, 95);
    EXPECT_GE(points.position[i].y, 5);
    EXPECT_LE(points.position[i].y, 55);
    EXPECT_EQ(std::abs(points.velocity[i].x), 1);
    EXPECT_EQ(std::abs(points.velocity[i].y), 1);
  }
  const int next = Rand();
  SeedRandom(99);
  for (int i = 0; i < 24; ++i) Rand();
  EXPECT_EQ(Rand(), next);
}

TEST(BouncingPointsTest, ASurfaceNarrowerThanTenStillPlacesPoints) {
  SeedRandom(7);
  BouncingPoints points;
  PlaceBouncingPoints(points, 44, 6, 3);
  for (int i = 0; i < points.count; ++i) {
    EXPECT_GE(points.position[i].x, 5);
    EXPECT_LE(points.position[i].x, 9);  // 5 + rand mod (10 - 6 + 1)
    EXPECT_GE(points.position[i].y, 5);
    EXPECT_LE(points.position[i].y, 12);
  }
}

TEST(BouncingPointsTest, NeverPlacesMoreThanItHolds) {
  BouncingPoints points;
  PlaceBouncingPoints(points, 100, 50, 50);
  EXPECT_EQ(points.count, BouncingPoints::kMaxPoints);
}

TEST(BouncingPointsTest, APointTurnsBackAtTheBoxAndStandsStillForThatFrame) {
  BouncingPoints points;
  points.count = 1;
  points.position[0] = {95, -5};
  points.velocity[0] = {1, -1};
  const BounceBox box{-10, -10, 100, 100};
  MoveBouncingPoints(points, 5, box);  // x 100 is outside, y -10 is inside
  EXPECT_EQ(points.position[0], (gdi::Point{95, -10}));
  EXPECT_EQ(points.velocity[0], (gdi::Point{-1, -1}));
  MoveBouncingPoints(points, 5, box);
  EXPECT_EQ(points.position[0], (gdi::Point{90, -10}));
  EXPECT_EQ(points.velocity[0], (gdi::Point{-1, 1}));
}

TEST(TrailHistoryTest, TheTailReplaysTheHeadAfterTheTrail) {
  TrailHistory<int> history(5);
  history.Allocate();
  history.Restart(2);
  std::vector<int> replayed;
  for (int frame = 1; frame <= 8; ++frame) {
    history.Head() = frame;
    if (history.TailDue()) {
      replayed.push_back(history.Tail());
      history.AdvanceTail();
    }
    history.AdvanceHead();
  }
  EXPECT_EQ(replayed, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  std::vector<int> rest;
  while (history.TrailLeft()) {
    rest.push_back(history.Tail());
    history.AdvanceTail();
  }
  EXPECT_EQ(rest, (std::vector<int>{7, 8}));
}

TEST(TrailHistoryTest, ATrailAsLongAsTheRingIsNeverErased) {
  TrailHistory<int> history(5);
  history.Allocate();
  history.Restart(5);
  for (int frame = 0; frame < 12; ++frame) {
    history.Head() = frame;
    EXPECT_FALSE(history.TailDue());
    history.AdvanceHead();
  }
  EXPECT_FALSE(history.TrailLeft());
}

TEST(TrailHistoryTest, AllocationIsZeroFilledAndReleased) {
  TrailHistory<int> history(3);
  EXPECT_FALSE(history.Allocated());
  history.Allocate();
  history.Restart(0);
  EXPECT_EQ(history.Head(), 0);
  history.Release();
  EXPECT_FALSE(history.Allocated());
}

TEST(PaletteDibHeaderTest, DescribesAnEightBitIndexBitmap) {
  PaletteDibHeader header;
  EXPECT_EQ(header.headerSize, 40u);
  EXPECT_EQ(header.planes, 1);
  EXPECT_EQ(header.bitsPerPixel, 8);
  EXPECT_EQ(header.coloursUsed, 236u);
  EXPECT_EQ(header.colourTable.front(), 0);
  EXPECT_EQ(header.colourTable.back(), 235);
  header.SetSize(33, -1);
  EXPECT_EQ(header.info.width, 33);
  EXPECT_EQ(header.info.height, -1);
  EXPECT_EQ(DibRowStride(33), 36);
  EXPECT_EQ(DibRowStride(32), 32);
}

}  // namespace
}  // namespace fluxo::kit

#include "modules/kit/rotation.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace fluxo::kit {
namespace {

constexpr float kQuarterTurn = 1.5707964f;

TEST(RotatePointTest, QuarterTurnsFollowTheScreenConvention) {
  // y grows downwards: x' = cos a x + sin a y, y' = -sin a x + cos a y. The sine
  // of the single-precision quarter turn lies just below 1, and truncation
  // toward zero turns 9.999... into 9.
  EXPECT_EQ(RotatePoint({10, 0}, kQuarterTurn), (gdi::Point{0, -9}));
  EXPECT_EQ(RotatePoint({0, 10}, kQuarterTurn), (gdi::Point{9, 0}));
  EXPECT_EQ(RotatePoint({7, -3}, 0.0f), (gdi::Point{7, -3}));
}

TEST(RotatePointTest, ResultsTruncateTowardZero) {
  // cos(0.5) * 10 = 8.78, -sin(0.5) * 10 = -4.79.
  EXPECT_EQ(RotatePoint({10, 0}, 0.5f), (gdi::Point{8, -4}));
  EXPECT_EQ(RotatePoint({-10, 0}, 0.5f), (gdi::Point{-8, 4}));
}

TEST(RotatePointTest, RotatesAboutACentre) {
  EXPECT_EQ(RotateAbout({110, 50}, {100, 50}, kQuarterTurn), (gdi::Point{100, 41}));
  EXPECT_EQ(RotateAbout({100, 50}, {100, 50}, 2.0f), (gdi::Point{100, 50}));
}

TEST(SymmetryTest, AngleStepIsSinglePrecision) {
  EXPECT_EQ(SymmetryAngleStep(10), 6.2832f / 10.0f);
  EXPECT_EQ(SymmetryAngleStep(1), 6.2832f);
  EXPECT_EQ(SymmetryAngleStep(0), 0.0f);
}

std::vector<std::vector<gdi::Point>> Copies(std::span<const gdi::Point> figure, int copies, gdi::Point centre) {
  std::vector<std::vector<gdi::Point>> out;
  std::array<gdi::Point, 4> scratch;
  DrawSymmetricCopies(figure, copies, SymmetryAngleStep(copies), centre, scratch,
                      [&](std::span<const gdi::Point> copy) { out.emplace_back(copy.begin(), copy.end()); });
  return out;
}

TEST(SymmetryTest, OneCopyIsTheFigureItself) {
  const std::array<gdi::Point, 2> figure{{{3, 4}, {50, 60}}};
  const auto copies = Copies(figure, 1, {20, 20});
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0], std::vector<gdi::Point>(figure.begin(), figure.end()));
}

TEST(SymmetryTest, CopiesTurnByEqualStepsAboutTheCentre) {
  const std::array<gdi::Point, 1> figure{{{120, 100}}};
  const auto copies = Copies(figure, 4, {100, 100});
  ASSERT_EQ(copies.size(), 4u);
  // Quarter turns of 6.2832 / 4, each result truncated toward the centre.
  EXPECT_EQ(copies[0][0], (gdi::Point{120, 100}));
  EXPECT_EQ(copies[1][0], (gdi::Point{100, 81}));
  EXPECT_EQ(copies[2][0], (gdi::Point{81, 100}));
  EXPECT_EQ(copies[3][0], (gdi::Point{100, 119}));
}

}  // namespace
}  // namespace fluxo::kit

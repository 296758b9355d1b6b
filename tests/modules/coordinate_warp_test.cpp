#include "modules/kit/coordinate_warp.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/controls.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr float kFactor[] = {1100000.125f, 30000.0f, 50000.0f, 1100000.0f, 30000.0f};

TEST(TurbulenceSetUpTest, AnyControlValueFromOneSwitchesItOnWithItsOwnStrength) {
  EXPECT_FALSE(SetUpTurbulence(0, 1).on);
  for (int type = 0; type <= 4; ++type) {
    const Turbulence t = SetUpTurbulence(1, type);
    EXPECT_TRUE(t.on);
    EXPECT_EQ(t.type, type);
    EXPECT_FLOAT_EQ(t.scale, (1.0f - 0.01f) * kFactor[type]);
  }
  // 99 * 0.01 stays below 0.99 in single precision: an ordinary strong turbulence.
  EXPECT_TRUE(SetUpTurbulence(99, 2).on);
  EXPECT_FLOAT_EQ(SetUpTurbulence(99, 2).scale, (1.0f - 99 * 0.01f) * kFactor[2]);
}

TEST(TurbulenceSetUpTest, OneHundredIsOnOneTimeInThreeWithARandomStrength) {
  int on = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    SeedRandom(seed);
    const bool expectOn = Rand() % 3 == 0;
    const float strength = static_cast<float>(Rand()) / 32767.0f;
    SeedRandom(seed);
    const Turbulence t = SetUpTurbulence(100, 4);
    EXPECT_EQ(t.on, expectOn);
    EXPECT_FLOAT_EQ(t.scale, (1.0f - strength) * kFactor[4]);
    on += t.on;
  }
  EXPECT_GT(on, 70);
  EXPECT_LT(on, 130);
}

TEST(TurbulenceSetUpTest, TypeFivePicksOneOfTheFive) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    // 50 draws nothing for the strength, so the type is the first draw.
    SeedRandom(seed);
    const int expected = Rand() % 5;
    SeedRandom(seed);
    EXPECT_EQ(SetUpTurbulence(50, 5).type, expected);
  }
}

// A warp over a surface of the given size with both profiles long enough.
CoordinateWarp Warp(int maxX, int maxY, const std::vector<int32_t>& columns, const std::vector<int32_t>& rows) {
  CoordinateWarp warp;
  warp.maxX = maxX;
  warp.maxY = maxY;
  warp.columns = {columns.data(), static_cast<int>(columns.size())};
  warp.rows = {rows.data(), static_cast<int>(rows.size())};
  return warp;
}

TEST(CoordinateWarpTest, ThePolarMappingGivesAnAngleAcrossAndTheRadiusDown) {
  const std::vector<int32_t> profile(64, 100);
  CoordinateWarp warp = Warp(63, 47, profile, profile);
  warp.polarOn = true;
  warp.polar = {1.0f, 0.0f, 20, 10};
  int x = 20, y = 10;  // the centre itself
  warp.Apply(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  x = 20 + 30;  // straight right: u = 1, r = 30
  y = 10;
  warp.Apply(x, y);
  EXPECT_EQ(x, static_cast<int>(0.3184713f * 63));
  EXPECT_EQ(y, 30);
  x = 20;  // straight down, r = 50 wraps at N = 47
  y = 60;
  warp.Apply(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 3);
}

TEST(CoordinateWarpTest, EveryTurbulenceKeepsCoordinatesOnTheSurfaceEvenWithZeroScale) {
  std::vector<int32_t> columns(80), rows(60);
  for (int i = 0; i < 80; ++i) columns[i] = i * 409 - 16000;
  for (int i = 0; i < 60; ++i) rows[i] = 16000 - i * 531;
  for (float scale : {300.0f, 0.9f, 0.0f}) {
    for (int type = 0; type <= 4; ++type) {
      CoordinateWarp warp = Warp(79, 59, columns, rows);
      warp.turbulence = {true, type, scale};
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
          int wx = x, wy = y;
          warp.Apply(wx, wy);
          // Sine factors stay within +-1; type 3 wraps by the moduli instead.
          const bool inside = type == 3 ? wx >= 0 && wx < 79 && wy >= 0 && wy < 59
                                        : wx >= 0 && wx <= x && wy >= 0 && wy <= y;
          ASSERT_TRUE(inside) << type << " " << scale << ": " << x << "," << y;
        }
    }
  }
}

TEST(CoordinateWarpTest, ProfileReadsOutsideTheArrayTakeTheNearestEnd) {
  const std::vector<int32_t> values{5, 6, 7};
  const Profile profile{values.data(), 3};
  EXPECT_EQ(profile[-4], 5);
  EXPECT_EQ(profile[1], 6);
  EXPECT_EQ(profile[3], 7);
  EXPECT_EQ(profile[1 << 30], 7);
}

}  // namespace
}  // namespace fluxo::kit

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

using Wave = std::vector<int32_t>;

TEST(SineWave, CopiesTheSharedSineTable) {
  Wave wave(kWaveSize, -1);
  FillSineWave(wave.data());
  EXPECT_TRUE(std::equal(wave.begin(), wave.end(), SineTable));
}

TEST(TriangleWave, StandardStepSpansOnePeriodStartingAtZeroAndRising) {
  Wave wave(kWaveSize);
  FillStandardTriangle(wave.data());
  EXPECT_EQ(wave[0], 0);
  EXPECT_EQ(wave[1], 31);
  EXPECT_EQ(wave[256], 8191);  // 256 * 31.998046875 = 8191.5, truncated
  EXPECT_EQ(wave[512], 16383);
  EXPECT_EQ(wave[513], 16383);  // the peak is held for the bounce
  EXPECT_EQ(wave[1537], -16383);
  EXPECT_EQ(wave[1538], -16383);
  for (int i = 1; i <= 512; ++i) EXPECT_GT(wave[i], wave[i - 1]) << i;
  for (int i = 514; i <= 1537; ++i) EXPECT_LT(wave[i], wave[i - 1]) << i;
  for (int i = 1539; i < kWaveSize; ++i) EXPECT_GT(wave[i], wave[i - 1]) << i;
  // The rise ends just below zero, ready to start the next period.
  EXPECT_LT(wave[2047], 0);
  EXPECT_GT(wave[2047], -128);
}

TEST(TriangleWave, ClampsAtThePeakAndTurnsBack) {
  Wave wave(kWaveSize);
  FillTriangleWave(wave.data(), 5000.0);
  EXPECT_EQ((Wave{wave.begin(), wave.begin() + 12}),
            (Wave{0, 5000, 10000, 15000, 16383, 11383, 6383, 1383, -3617, -8617, -13617, -16383}));
  EXPECT_EQ(wave[12], -11383);
}

TEST(TriangleWave, TruncatesTowardZeroOnBothSides) {
  Wave up(kWaveSize), down(kWaveSize);
  FillTriangleWave(up.data(), 0.75);
  FillTriangleWave(down.data(), -0.75);
  EXPECT_EQ((Wave{up.begin(), up.begin() + 6}), (Wave{0, 0, 1, 2, 3, 3}));
  EXPECT_EQ((Wave{down.begin(), down.begin() + 6}), (Wave{0, 0, -1, -2, -3, -3}));
}

TEST(SmoothWave, AveragesWithTheAlreadySmoothedLeftNeighbour) {
  Wave wave(kWaveSize, 0);
  wave[0] = 3;
  wave[1] = 9;
  wave[2] = 3;
  wave[2047] = 30;
  SmoothWave(wave.data());
  EXPECT_EQ(wave[0], 3);       // the ends are never changed
  EXPECT_EQ(wave[1], 5);       // (3 + 9 + 3) / 3
  EXPECT_EQ(wave[2], 2);       // (5 + 3 + 0) / 3, using the new left value
  EXPECT_EQ(wave[3], 0);       // (2 + 0 + 0) / 3
  EXPECT_EQ(wave[2046], 10);   // (0 + 0 + 30) / 3
  EXPECT_EQ(wave[2047], 30);
}

TEST(SmoothWave, TruncatesNegativeAveragesTowardZero) {
  Wave wave(kWaveSize, 0);
  wave[0] = -4;
  wave[2] = -2;
  SmoothWave(wave.data());
  EXPECT_EQ(wave[1], -2);  // (-4 + 0 - 2) / 3
  EXPECT_EQ(wave[2], -1);  // (-2 - 2 + 0) / 3 = -1.33
  EXPECT_EQ(wave[3], 0);   // -1 / 3, not -1
}

TEST(RoughenWave, AddsSmoothedSpikesInsideTheTableAndKeepsItsEnds) {
  for (uint32_t seed : {1u, 77u, 4096u}) {
    SeedRandom(seed);
    Wave wave(kWaveSize, 0);
    wave[0] = 1111;
    wave[2047] = -2222;
    RoughenWave(wave.data());
    EXPECT_EQ(wave[0], 1111);
    EXPECT_EQ(wave[2047], -2222);
    EXPECT_TRUE(std::any_of(wave.begin() + 31, wave.begin() + 2017, [](int32_t v) { return v != 0; })) << seed;
    for (int32_t v : wave) EXPECT_LE(std::abs(v), 16383);
    // At least 48 smoothing passes: no step between neighbours is as sharp as a raw spike.
    for (int i = 1; i < kWaveSize - 1; ++i) EXPECT_LT(std::abs(wave[i] - wave[i - 1]), 8000) << i;
  }
}

TEST(JaggedWave, StaysInsideTheTriangleRangeAndDependsOnTheSeed) {
  Wave first(kWaveSize), second(kWaveSize), again(kWaveSize);
  SeedRandom(5);
  FillJaggedWave(first.data());
  SeedRandom(6);
  FillJaggedWave(second.data());
  SeedRandom(5);
  FillJaggedWave(again.data());
  EXPECT_EQ(first, again);
  EXPECT_NE(first, second);
  for (int32_t v : first) EXPECT_LT(std::abs(v), 19659);  // a pull may cross zero by at most its size
  // The first entry starts at zero and is pushed up by the pull toward zero.
  EXPECT_GE(first[0], 0);
  EXPECT_LT(first[0], 19659);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/controls.h"

namespace fluxo {
namespace {

// Values of `count` Oscillate evaluations from the reset phase.
std::vector<int> Oscillation(float lo, float hi, int count, float sense = 10.0f, float drift = 0.5f) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(TruncateSourceResult(EvaluateSource(kSourceOscillate, drift, sense, lo, hi)));
  return values;
}

TEST(Oscillate, FirstStepAfterResetUsesIndex1075AndGivesEight) {
  float drift = 0.5f;
  float result = EvaluateSource(kSourceOscillate, drift, 10.0f, 1.0f, 20.0f);
  EXPECT_EQ(static_cast<int>(drift * 2048.0f), 1075);
  EXPECT_LT(SineTable[1075], 0);
  EXPECT_EQ(TruncateSourceResult(result), 8);
}

TEST(Oscillate, OneToTwentyRunsOneThroughNineteenOncePerFortySteps) {
  std::vector<int> values = Oscillation(1.0f, 20.0f, 80);
  EXPECT_EQ(*std::min_element(values.begin(), values.end()), 1);
  EXPECT_EQ(*std::max_element(values.begin(), values.end()), 19);
  // From the middle it first moves toward rangeLo.
  EXPECT_LE(values[1], values[0]);
  std::vector<int> first(values.begin(), values.begin() + 40);
  std::vector<int> second(values.begin() + 40, values.end());
  EXPECT_EQ(first, second);
  // Each turn has exactly one low and one high stretch.
  int lows = 0;
  for (int i = 0; i < 40; ++i) lows += values[i] == 1 && values[(i + 39) % 40] != 1;
  EXPECT_EQ(lows, 1);
}

TEST(Oscillate, PhaseAdvancesOneTurnPerFourHundredOverSense) {
  float drift = 0.5f;
  for (int i = 0; i < 40; ++i) EvaluateSource(kSourceOscillate, drift, 10.0f, 1.0f, 20.0f);
  EXPECT_NEAR(drift, 1.5f, 1e-5f);
  drift = 0.5f;
  for (int i = 0; i < 400; ++i) EvaluateSource(kSourceOscillate, drift, 1.0f, 1.0f, 20.0f);
  EXPECT_NEAR(drift, 1.5f, 1e-4f);
}

TEST(Oscillate, ReversedRangeRunsTheSameSequence) {
  std::vector<int> forward = Oscillation(1.0f, 20.0f, 40);
  std::vector<int> reversed = Oscillation(20.0f, 1.0f, 40);
  // Half a turn apart: the reversed range starts where the forward one is after 20 steps.
  std::rotate(forward.begin(), forward.begin() + 20, forward.end());
  EXPECT_EQ(reversed, forward);
  EXPECT_GE(reversed[1], reversed[0]);  // toward rangeLo, which is now the top
}

TEST(Oscillate, NegativeRangeTruncatesTowardZero) {
  std::vector<int> values = Oscillation(-10.0f, 10.0f, 40);
  EXPECT_EQ(*std::min_element(values.begin(), values.end()), -9);
  EXPECT_EQ(*std::max_element(values.begin(), values.end()), 9);
}

TEST(Oscillate, EqualEndsGiveThatValue) {
  for (int v : Oscillation(7.0f, 7.0f, 40)) EXPECT_EQ(v, 7);
}

TEST(Oscillate, KeepsMovingAfterAVeryLongRun) {
  // At 2^20 turns a float phase can no longer take a step of 0.025.
  std::vector<int> values = Oscillation(1.0f, 20.0f, 40, 10.0f, 1048576.5f);
  EXPECT_EQ(*std::min_element(values.begin(), values.end()), 1);
  EXPECT_EQ(*std::max_element(values.begin(), values.end()), 19);
}

TEST(Oscillate, BrokenPhaseRestartsFromTheMiddle) {
  float drift = INFINITY;
  EXPECT_EQ(TruncateSourceResult(EvaluateSource(kSourceOscillate, drift, 10.0f, 1.0f, 20.0f)), 8);
  drift = NAN;
  EXPECT_EQ(TruncateSourceResult(EvaluateSource(kSourceOscillate, drift, 10.0f, 1.0f, 20.0f)), 8);
  EXPECT_TRUE(std::isfinite(drift));
}

TEST(TruncateSourceResult, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(TruncateSourceResult(-9.99f), -9);
  EXPECT_EQ(TruncateSourceResult(9.99f), 9);
  EXPECT_EQ(TruncateSourceResult(NAN), 0);
  EXPECT_EQ(TruncateSourceResult(1e20f), INT32_MAX);
  EXPECT_EQ(TruncateSourceResult(-1e20f), INT32_MIN);
  EXPECT_EQ(TruncateSourceResult(INFINITY), INT32_MAX);
}

}  // namespace
}  // namespace fluxo

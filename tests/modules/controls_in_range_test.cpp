#include "modules/kit/controls_in_range.h"

#include <gtest/gtest.h>

#include "module_harness.h"

namespace fluxo::kit {
namespace {

using test::ModuleHarness;

// Star: "Symmetry" (13) is 1..128, "Stars" (0) 0..99 and not sound-capable.
enum { kStars = 0, kSymmetry = 13 };

TEST(ControlsInRangeTest, StoredValuesOutsideTheRangeAreHeldToIt) {
  ModuleHarness harness(kModuleStar, 10, 10);
  harness.SetControl(kSymmetry, 5000);
  EXPECT_EQ(ControlInRange(harness.slot(), kSymmetry), 128);
  harness.SetControl(kSymmetry, -3);
  EXPECT_EQ(ControlInRange(harness.slot(), kSymmetry), 1);
  harness.SetControl(kSymmetry, 77);
  EXPECT_EQ(ControlInRange(harness.slot(), kSymmetry), 77);
}

TEST(ControlsInRangeTest, LiveEvaluationsPastTheRangeAreHeldToIt) {
  ModuleHarness harness(kModuleStar, 10, 10);
  harness.Oscillate(kSymmetry, 1000, 2000);
  int32_t working = 0;
  ASSERT_TRUE(EvaluateLiveControlInRange(harness.slot(), kSymmetry, working));
  EXPECT_EQ(working, 128);
  harness.Oscillate(kSymmetry, -2000, -1000);
  ASSERT_TRUE(EvaluateLiveControlInRange(harness.slot(), kSymmetry, working));
  EXPECT_EQ(working, 1);
  const std::optional<float> fraction = EvaluateLiveControlFraction(harness.slot(), kSymmetry);
  ASSERT_TRUE(fraction.has_value());
  EXPECT_EQ(*fraction, 1.0f);
}

TEST(ControlsInRangeTest, TheFractionIsKeptInsideTheRange) {
  ModuleHarness harness(kModuleStar, 10, 10);
  harness.Oscillate(kSymmetry, 10, 11);
  bool sawFraction = false;
  for (int i = 0; i < 400; ++i) {
    const std::optional<float> value = EvaluateLiveControlFraction(harness.slot(), kSymmetry);
    ASSERT_TRUE(value.has_value());
    ASSERT_GE(*value, 10.0f);
    ASSERT_LE(*value, 11.0f);
    sawFraction = sawFraction || (*value > 10.05f && *value < 10.95f);
  }
  EXPECT_TRUE(sawFraction);
}

TEST(ControlsInRangeTest, ControlsThatAreNotLiveAreLeftAlone) {
  ModuleHarness harness(kModuleStar, 10, 10);
  int32_t working = 42;
  EXPECT_FALSE(EvaluateLiveControlInRange(harness.slot(), kSymmetry, working));  // "Set"
  EXPECT_EQ(working, 42);
  harness.Oscillate(kStars, 0, 99);  // driven, but not sound-capable
  EXPECT_FALSE(EvaluateLiveControlInRange(harness.slot(), kStars, working));
  EXPECT_FALSE(EvaluateLiveControlFraction(harness.slot(), kStars).has_value());
}

}  // namespace
}  // namespace fluxo::kit

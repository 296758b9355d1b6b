#include <gtest/gtest.h>

#include <set>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

ModuleSlot SlotWithControl(int32_t value, int32_t lo, int32_t hi, int32_t min, int32_t max, int32_t def = 0) {
  ModuleSlot slot{};
  ControlBlock& c = slot.controls;
  c.defined[0] = 1;
  c.value[0] = value;
  c.defaultValue[0] = def;
  c.rangeLo[0] = lo;
  c.rangeHi[0] = hi;
  c.minValue[0] = min;
  c.maxValue[0] = max;
  c.sense[0] = 10;
  c.drift[0] = 0.5f;
  return slot;
}

TEST(RandomizeControls, EqualEndsAlwaysGiveThatValue) {
  SeedRandom(12345);
  ModuleSlot slot = SlotWithControl(0, 6, 6, 0, 10);
  slot.controls.source[0] = kSourceRandom;
  for (int i = 0; i < 200; ++i) {
    RandomizeControls(slot);
    ASSERT_EQ(slot.controls.value[0], 6);
  }
}

TEST(RandomizeControls, ReversedRangeDrawsEveryValueBetweenTheEnds) {
  SeedRandom(99);
  ModuleSlot slot = SlotWithControl(0, 10, 2, 0, 20);
  slot.controls.source[0] = kSourceRandom;
  std::set<int> seen;
  for (int i = 0; i < 500; ++i) {
    RandomizeControls(slot);
    seen.insert(slot.controls.value[0]);
  }
  EXPECT_EQ(seen, (std::set<int>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(RandomizeControls, SetControlsKeepTheirValue) {
  SeedRandom(5);
  ModuleSlot slot = SlotWithControl(4, 100, 200, 0, 300);
  RandomizeControls(slot);
  EXPECT_EQ(slot.controls.value[0], 4);
}

TEST(RandomizeControls, UsesTheRuntimeGenerator) {
  ModuleSlot slot = SlotWithControl(0, 0, 999, 0, 1000);
  slot.controls.source[0] = kSourceRandom;
  SeedRandom(1);
  RandomizeControls(slot);
  // state 1 -> 1 * 214013 + 2531011 = 2745024; bits 16..30 give 41.
  EXPECT_EQ(slot.controls.value[0], 41);
}

TEST(EvaluateSourcedControls, OverwritesOscillatingAndLeavesOthers) {
  ModuleSlot slot = SlotWithControl(0, 1, 20, 1, 20);
  ControlBlock& c = slot.controls;
  c.source[0] = kSourceOscillate;
  c.defined[1] = 1;
  c.source[1] = kSourceRandom;
  c.value[1] = 55;
  EvaluateSourcedControls(slot);
  EXPECT_EQ(c.value[0], 8);
  EXPECT_NEAR(c.drift[0], 0.525f, 1e-6f);
  EXPECT_EQ(c.value[1], 55);
}

TEST(EvaluateLiveControl, OnlySoundCapableLiveControlsChange) {
  ModuleSlot slot = SlotWithControl(0, 1, 20, 1, 20);
  ControlBlock& c = slot.controls;
  c.source[0] = kSourceOscillate;
  int32_t working = -1;
  EXPECT_FALSE(EvaluateLiveControl(slot, 0, working));
  EXPECT_EQ(working, -1);
  c.soundCapable[0] = 1;
  EXPECT_TRUE(EvaluateLiveControl(slot, 0, working));
  EXPECT_EQ(working, 8);
  EXPECT_EQ(c.value[0], 0);  // play never writes the stored value
  c.source[0] = kSourceRandom;
  EXPECT_FALSE(EvaluateLiveControl(slot, 0, working));
}

TEST(ClampControls, RepairsValuesAndRangeEnds) {
  ModuleSlot slot = SlotWithControl(500, 0, 0, 1, 320, 4);
  ClampControls(slot);
  EXPECT_EQ(slot.controls.value[0], 4);
  EXPECT_EQ(slot.controls.rangeLo[0], 1);
  EXPECT_EQ(slot.controls.rangeHi[0], 320);

  slot = SlotWithControl(-3, 400, 321, 1, 320, 4);
  ClampControls(slot);
  EXPECT_EQ(slot.controls.value[0], 4);
  EXPECT_EQ(slot.controls.rangeLo[0], 1);
  EXPECT_EQ(slot.controls.rangeHi[0], 320);
}

TEST(ClampControls, LeavesLegalSettingsAlone) {
  ModuleSlot slot = SlotWithControl(320, 320, 1, 1, 320, 4);
  ClampControls(slot);
  EXPECT_EQ(slot.controls.value[0], 320);
  EXPECT_EQ(slot.controls.rangeLo[0], 320);
  EXPECT_EQ(slot.controls.rangeHi[0], 1);
}

TEST(ClampControls, AlsoRepairsUndefinedIndices) {
  ModuleSlot slot{};
  slot.controls.value[17] = 9;
  slot.controls.rangeHi[17] = -4;
  ClampControls(slot);
  EXPECT_EQ(slot.controls.value[17], 0);
  EXPECT_EQ(slot.controls.rangeHi[17], 0);
}

}  // namespace
}  // namespace fluxo

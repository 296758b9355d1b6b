// The six host callbacks a plug-in calls with its record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "controls/controls.h"
#include "modules/plugin_host_callbacks.h"
#include "platform/system/random.h"
#include "platform/system/saver_state.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

namespace cb = plugin_callbacks;

class PlugInCallbacksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(static_cast<void*>(&slot), 0, sizeof slot);
    ResetSaverState();
  }
  // A control as DefineControl leaves it, with the given source and range.
  void Define(uint32_t index, int32_t source, int32_t lo, int32_t hi, int32_t sense = 10) {
    ASSERT_EQ(cb::DefineControl(&slot, index, "C", -100, 100, lo, hi, 0, source, sense, 1), 1);
  }
  ModuleSlot slot;
};

TEST_F(PlugInCallbacksTest, IndexNineAndIndicesPastTheLastAreRefusedWithoutAChange) {
  std::memset(static_cast<void*>(&slot), 0x5A, sizeof slot);
  ModuleSlot before;
  std::memcpy(static_cast<void*>(&before), &slot, sizeof slot);
  for (uint32_t index : {9u, 30u, 31u, 0xFFFFFFFFu})
    EXPECT_EQ(cb::DefineControl(&slot, index, "Mine", 0, 1, 0, 1, 0, 0, 10, 0), 0) << index;
  EXPECT_EQ(std::memcmp(&slot, &before, sizeof slot), 0);
  EXPECT_EQ(cb::DefineControl(&slot, 8, nullptr, 0, 1, 0, 1, 0, 0, 10, 0), 1) << "indices around 9 are the plug-in's";
  EXPECT_EQ(cb::DefineControl(&slot, 10, "Ten", 0, 1, 0, 1, 0, 0, 10, 0), 1);
  EXPECT_STREQ(slot.controls.label[8], "") << "a missing label is an empty one";
}

TEST_F(PlugInCallbacksTest, StrengthIsTheHostsControl) {
  cb::DefineStrengthControl(&slot);
  const ControlBlock& c = slot.controls;
  EXPECT_STREQ(c.label[9], "Strength");
  EXPECT_EQ(c.defined[9], 1);
  EXPECT_EQ(c.value[9], 1);
  EXPECT_EQ(c.defaultValue[9], 1);
  EXPECT_EQ(c.rangeLo[9], -10);
  EXPECT_EQ(c.rangeHi[9], 10);
  EXPECT_EQ(c.sense[9], 10);
}

TEST_F(PlugInCallbacksTest, ControlsAreDynamicWhenOscillatingOrFollowingLiveSound) {
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  Define(0, kSourceSet, 0, 10);
  Define(1, kSourceRandom, 0, 10);
  Define(2, kSourceOscillate, 0, 10);
  Define(3, kSourceVolume, 0, 10);
  Define(4, kSourceLastBand, 0, 10);
  EXPECT_EQ(cb::IsControlDynamic(&slot, 0), 0u);
  EXPECT_EQ(cb::IsControlDynamic(&slot, 1), 0u);
  EXPECT_EQ(cb::IsControlDynamic(&slot, 2), 1u);
  EXPECT_EQ(cb::IsControlDynamic(&slot, 30), 0u) << "out of range is never dynamic";

  for (uint32_t sync : {0u, 1u})
    for (uint32_t companion : {0u, 1u}) {
      feed->SetU32(feed::kModuleSync, sync);
      feed->SetU32(feed::kCompanionActive, companion);
      const uint32_t live = sync && companion ? 1u : 0u;
      EXPECT_EQ(cb::IsControlDynamic(&slot, 3), live) << sync << companion;
      EXPECT_EQ(cb::IsControlDynamic(&slot, 4), live) << sync << companion;
      EXPECT_EQ(cb::IsControlDynamic(&slot, 2), 1u);
    }
  feed->SetU32(feed::kCompanionActive, 0);
}

TEST_F(PlugInCallbacksTest, EvaluationFollowsTheOscillatorWithoutTouchingTheValue) {
  ASSERT_EQ(cb::DefineControl(&slot, 0, "Osc", 1, 20, 1, 20, 5, kSourceOscillate, 10, 1), 1);
  // From drift 0.5 the first step reads table entry 1075: the middle less a bit.
  EXPECT_EQ(cb::EvaluateControl(&slot, 0), 8);
  EXPECT_EQ(slot.controls.value[0], 5) << "the stored value stays";
  int low = 100, high = -100;
  for (int i = 0; i < 40; ++i) {
    int v = cb::EvaluateControl(&slot, 0);
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 19) << "one cycle per 40 steps, never quite the top";
}

TEST_F(PlugInCallbacksTest, TheRealEvaluationKeepsTheFractionOfTheSameStep) {
  ASSERT_EQ(cb::DefineControl(&slot, 0, "Osc", -10, 10, -10, 10, 0, kSourceOscillate, 3, 1), 1);
  ModuleSlot twin;
  std::memcpy(static_cast<void*>(&twin), &slot, sizeof slot);
  bool sawFraction = false;
  for (int i = 0; i < 50; ++i) {
    const double real = cb::EvaluateControlReal(&slot, 0);
    const int32_t whole = cb::EvaluateControl(&twin, 0);
    EXPECT_EQ(static_cast<int32_t>(std::trunc(real)), whole) << i;
    sawFraction = sawFraction || real != std::trunc(real);
  }
  EXPECT_TRUE(sawFraction);
}

TEST_F(PlugInCallbacksTest, FixedAndRandomControlsEvaluateToTheirValue) {
  ASSERT_EQ(cb::DefineControl(&slot, 0, "Set", 0, 100, 0, 100, 42, kSourceSet, 10, 0), 1);
  ASSERT_EQ(cb::DefineControl(&slot, 1, "Rnd", 0, 100, 0, 100, 17, kSourceRandom, 10, 0), 1);
  EXPECT_EQ(cb::EvaluateControl(&slot, 0), 42);
  EXPECT_EQ(cb::EvaluateControlReal(&slot, 1), 17.0);
  EXPECT_EQ(cb::EvaluateControl(&slot, 30), 0);
  EXPECT_EQ(cb::EvaluateControlReal(&slot, 0xFFFFFFFFu), 0.0);
}

TEST_F(PlugInCallbacksTest, UpdateDrawsRandomValuesThenEvaluatesSourcedOnes) {
  SeedRandom(1);
  ASSERT_EQ(cb::DefineControl(&slot, 0, "Set", 0, 100, 0, 100, 42, kSourceSet, 10, 0), 1);
  ASSERT_EQ(cb::DefineControl(&slot, 1, "Rnd", 0, 100, 7, 7, 0, kSourceRandom, 10, 0), 1);
  ASSERT_EQ(cb::DefineControl(&slot, 2, "Rnd2", 0, 100, 90, 10, 0, kSourceRandom, 10, 0), 1);
  ASSERT_EQ(cb::DefineControl(&slot, 3, "Osc", 1, 20, 1, 20, 0, kSourceOscillate, 10, 1), 1);
  cb::UpdateControls(&slot);
  EXPECT_EQ(slot.controls.value[0], 42);
  EXPECT_EQ(slot.controls.value[1], 7);
  EXPECT_GE(slot.controls.value[2], 10);
  EXPECT_LE(slot.controls.value[2], 90);
  EXPECT_EQ(slot.controls.value[3], 8) << "the first oscillator step";
  cb::UpdateControls(&slot);
  EXPECT_NE(slot.controls.value[3], 8) << "the phase moves on";
}

TEST_F(PlugInCallbacksTest, DrawingIsEnabledWhileTheSaverRuns) {
  EXPECT_EQ(cb::IsDrawingEnabled(), 0u);
  Saver().saverRunning.store(1);
  EXPECT_EQ(cb::IsDrawingEnabled(), 1u);
  Saver().saverRunning.store(0);
  EXPECT_EQ(cb::IsDrawingEnabled(), 0u);
}

}  // namespace
}  // namespace fluxo::test

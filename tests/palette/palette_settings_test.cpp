#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "palette/palette_engine.h"
#include "palette_fixture.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

using test::PaletteFixture;

struct Expected {
  int param;
  std::string baseName;
  int32_t value, source, lo, hi, min, max, sound;
};

class PaletteSettings : public PaletteFixture {};

TEST_F(PaletteSettings, ResetWritesTheDefaultsIntoEveryChannel) {
  const Expected table[] = {
      {kParamScale, "Scale", 100, 0, 0, 100, 0, 100, 1},
      {kParamDensity, "Density", 6, 1, 1, 12, 1, 80, 1},
      {kParamFadeFactor, "FadeFactor", 14, 0, 1, 200, 1, 300, 1},
      {kParamRampDecay, "RampDecay", 14, 0, 1, 200, 1, 300, 1},
      {kParamSeconds, "Seconds", 16, 0, 10, 30, 0, 300, 0},
      {kParamCycleRate, "CycleRate", 30, 0, 10, 60, 10, 200, 0},
      {kParamEvent, "Event", 1000, 0, 10, 600, 0, 3000, 0},
      {kParamDirection, "Direction", 1, 0, -3, 3, -50, 50, 1},
      {kParamMorphRate, "MorphRate", 9, 1, 6, 16, 1, 64, 1},
      {kParamIntensity, "Intensity", 100, 0, 0, 100, 0, 200, 1},
  };
  // Scribble over everything first so the reset has to write it all.
  for (int i = 0; i < kPaletteParamCount * 3; ++i) {
    state_->source[i] = 9;
    state_->value[i] = state_->rangeLo[i] = state_->rangeHi[i] = state_->sense[i] = -77;
    state_->drift[i] = 3.0f;
  }
  ResetPaletteSettings(*state_);
  for (const Expected& e : table) {
    SCOPED_TRACE(e.baseName);
    EXPECT_EQ(PaletteParamTable(e.param).baseName, e.baseName);
    EXPECT_EQ(state_->minValue[e.param], e.min);
    EXPECT_EQ(state_->maxValue[e.param], e.max);
    EXPECT_EQ(state_->soundCapable[e.param], e.sound);
    for (int ch = 0; ch < kChannels; ++ch) {
      int slot = ParamSlot(e.param, ch);
      EXPECT_EQ(state_->value[slot], e.value);
      EXPECT_EQ(state_->source[slot], e.source);
      EXPECT_EQ(state_->rangeLo[slot], e.lo);
      EXPECT_EQ(state_->rangeHi[slot], e.hi);
      EXPECT_EQ(state_->sense[slot], 7);
      EXPECT_FLOAT_EQ(state_->drift[slot], 0.5f);
    }
  }
  EXPECT_STREQ(PaletteParamTable(kParamDensity).pageLabel, "Color Frequency");
}

TEST_F(PaletteSettings, ResetClearsTheChannelFlagsButKeepsTheEffects) {
  SetEffect(kEffectBlackout);
  for (int ch = 0; ch < kChannels; ++ch) {
    state_->fade[ch] = state_->ramp[ch] = state_->coarse[ch] = state_->blackout[ch] = 1;
    state_->useCustom[ch] = state_->morphing[ch] = 1;
    state_->eventCounter[ch] = 55;
    state_->nextChange[ch] = 5;
  }
  state_->durationMs = 1;
  state_->entryCount = 0;
  Advance(1234);
  ResetPaletteSettings(*state_);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(state_->effect[ch], kEffectBlackout);
    EXPECT_EQ(state_->fade[ch] | state_->ramp[ch] | state_->coarse[ch] | state_->blackout[ch], 0);
    EXPECT_EQ(state_->useCustom[ch] | state_->morphing[ch] | state_->eventCounter[ch], 0);
    EXPECT_EQ(state_->nextChange[ch], GetTickCount());  // due at once
  }
  EXPECT_EQ(state_->durationMs, 15000);
  EXPECT_EQ(state_->entryCount, 236);
}

TEST_F(PaletteSettings, CreationPublishesTheEngineWithAFlaggedPaletteAndCustomColours) {
  EXPECT_EQ(CurrentPalette(), state_);
  for (const PaletteEntry& entry : state_->logPalette) EXPECT_EQ(entry.flags, 1);
  for (const PaletteEntry& entry : state_->customEntries) EXPECT_EQ(entry.flags, 1);
  // Random steps of 0..9 per channel: neighbouring custom colours differ by at most 9.
  for (int i = 1; i < kPaletteEntries; ++i) {
    EXPECT_LE(std::abs(state_->customEntries[i].red - state_->customEntries[i - 1].red), 9);
    EXPECT_LE(std::abs(state_->customEntries[i].blue - state_->customEntries[i - 1].blue), 9);
  }
  PaletteState* second = CreatePaletteEngine(nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(CurrentPalette(), second);
  DestroyPaletteEngine(second);
  EXPECT_EQ(CurrentPalette(), nullptr);
  DestroyPaletteEngine(nullptr);  // nothing to do
}

TEST(SeedPaletteColours, ZeroStepsKeepTheStartingColour) {
  SeedRandom(9);
  PaletteEntry entries[kPaletteEntries];
  SeedPaletteColours(entries, 0, 0, 0);
  for (const PaletteEntry& e : entries) {
    EXPECT_EQ(e.red, entries[0].red);
    EXPECT_EQ(e.green, entries[0].green);
    EXPECT_EQ(e.blue, entries[0].blue);
    EXPECT_EQ(e.flags, 1);
  }
}

TEST(SeedPaletteColours, EachChannelBouncesOffTheEndsOnItsOwn) {
  for (uint32_t seed : {3u, 30u, 300u}) {
    SeedRandom(seed);
    PaletteEntry entries[kPaletteEntries];
    SeedPaletteColours(entries, 9, 0, -5);
    int bounces = 0;
    int step = entries[1].red - entries[0].red;
    if (step == 0) step = entries[0].red + 9 > 255 ? 9 : -9;  // the walk turns at entry 1
    for (int i = 1; i < kPaletteEntries; ++i) {
      int diff = entries[i].red - entries[i - 1].red;
      if (diff == 0) {
        // A bounce: the step would have left 0..255, so the value holds and the step turns.
        int blocked = entries[i - 1].red + step;
        EXPECT_TRUE(blocked < 0 || blocked > 255) << "entry " << i;
        step = -step;
        ++bounces;
      } else {
        EXPECT_EQ(diff, step) << "entry " << i;
      }
      EXPECT_EQ(entries[i].green, entries[0].green);
      int blueDiff = std::abs(entries[i].blue - entries[i - 1].blue);
      EXPECT_TRUE(blueDiff == 5 || blueDiff == 0);
    }
    EXPECT_GE(bounces, 7);  // 236 steps of 9 cross the 255 range at least 7 times
  }
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "palette_fixture.h"

namespace fluxo {
namespace {

using Entries = std::vector<int>;

class PaletteTick : public test::PaletteFixture {
 protected:
  Entries Channel(int ch) const { return Entries(state_->current[ch], state_->current[ch] + kPaletteEntries); }

  // The index colours rotated left by `shift` entries.
  static Entries Rotated(int shift) {
    Entries e(kPaletteEntries);
    for (int i = 0; i < kPaletteEntries; ++i) e[i] = ((i + shift) % kPaletteEntries + kPaletteEntries) % kPaletteEntries;
    return e;
  }

  // Every channel about to morph from a flat 200 into the index colours.
  void PrepareMorph(int32_t morphRate) {
    UseIndexColours();
    SteadyPattern(0);
    SetParam(kParamMorphRate, morphRate);
    for (int ch = 0; ch < kChannels; ++ch) {
      std::fill(state_->current[ch], state_->current[ch] + kPaletteEntries, 200);
      state_->nextChange[ch] = GetTickCount() - 1;
    }
  }
  static int Blend(int from, int to, int pos) { return (from * (255 - pos) + to * pos) >> 8; }
};

TEST_F(PaletteTick, DirectionZeroStandsStill) {
  UseIndexColours();
  SteadyPattern(0);
  for (int t = 0; t < 50; ++t) {
    Advance(30);
    AnimatePaletteFrame(*state_);
  }
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(Channel(ch), Rotated(0));
    EXPECT_EQ(state_->position[ch], kPaletteEntries);
  }
}

TEST_F(PaletteTick, PositiveDirectionMovesTowardEntryZeroWithNewEntriesAtTheTop) {
  UseIndexColours();
  SteadyPattern(3);
  AnimatePaletteFrame(*state_);
  // Entries 0..232 took 3..235; 233..235 are new samples at positions 236, 237, 238.
  EXPECT_EQ(Channel(0), Rotated(3));
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(Channel(2), Rotated(6));
  EXPECT_EQ(state_->position[1], kPaletteEntries + 6);
}

TEST_F(PaletteTick, NegativeDirectionMovesUpWithNewEntriesComputedDownToZero) {
  UseIndexColours();
  SteadyPattern(-3);
  AnimatePaletteFrame(*state_);
  Entries expected(kPaletteEntries);
  expected[2] = 0;  // position 236, computed first
  expected[1] = 1;
  expected[0] = 2;
  for (int i = 3; i < kPaletteEntries; ++i) expected[i] = i - 3;
  EXPECT_EQ(Channel(1), expected);
}

TEST_F(PaletteTick, DirectionBeyondThePaletteRecomputesEveryEntry) {
  UseIndexColours();
  SteadyPattern(0);
  SetParam(kParamDirection, 500);  // a stray stored value
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(Channel(0), Rotated(0));  // positions 236..471 are the same colours again
  EXPECT_EQ(state_->position[0], 2 * kPaletteEntries);
  SetParam(kParamDirection, -500);
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(state_->position[0], 3 * kPaletteEntries);
}

TEST_F(PaletteTick, MorphRate64EndsAfterFourBlends) {
  PrepareMorph(64);
  for (int tick = 0; tick < 4; ++tick) {
    AnimatePaletteFrame(*state_);
    int pos = tick * 64;
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kPaletteEntries; i += 47) EXPECT_EQ(state_->current[ch][i], Blend(200, i, pos)) << tick;
    EXPECT_EQ(state_->morphing[0], tick < 3 ? 1 : 0) << tick;
  }
  Entries left = Channel(0);
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(Channel(0), left);  // three quarters of the way, and Direction 0 keeps it
}

TEST_F(PaletteTick, MorphRate1Blends256Times) {
  PrepareMorph(1);
  int blends = 0;
  do {
    AnimatePaletteFrame(*state_);
    ++blends;
  } while (state_->morphing[1] && blends < 1000);
  EXPECT_EQ(blends, 256);
  EXPECT_EQ(state_->current[1][100], Blend(200, 100, 255));
}

TEST_F(PaletteTick, MorphStepBelowOneStillFinishes) {
  PrepareMorph(0);
  int blends = 0;
  do {
    AnimatePaletteFrame(*state_);
    ++blends;
  } while (state_->morphing[0] && blends < 1000);
  EXPECT_EQ(blends, 256);
}

TEST_F(PaletteTick, ScaleAndIntensityShapeTheWrittenColours) {
  UseIndexColours();
  SetParam(kParamIntensity, 200);
  SteadyPattern(0);
  state_->value[ParamSlot(kParamScale, 0)] = 50;
  state_->value[ParamSlot(kParamScale, 1)] = 100;
  state_->value[ParamSlot(kParamScale, 2)] = 0;
  AnimatePaletteFrame(*state_);
  for (int i = 0; i < kPaletteEntries; ++i) {
    int doubled = std::min(2 * i, 255);
    const PaletteEntry& e = state_->logPalette[i];
    EXPECT_EQ(e.red, doubled * 50 / 100) << i;
    EXPECT_EQ(e.green, doubled) << i;
    EXPECT_EQ(e.blue, 0) << i;
    EXPECT_EQ(e.flags, 1);
  }
}

TEST_F(PaletteTick, BlackoutStaysDarkAndKeepsItsPosition) {
  SetEffect(kEffectBlackout);
  SteadyPattern(3);
  for (int t = 0; t < 5; ++t) AnimatePaletteFrame(*state_);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(Channel(ch), Entries(kPaletteEntries, 0));
    EXPECT_EQ(state_->position[ch], 0);
  }
  for (const PaletteEntry& e : state_->logPalette) EXPECT_EQ(e.red | e.green | e.blue, 0);
}

TEST_F(PaletteTick, OscillatingDirectionIsFollowedEveryTick) {
  UseIndexColours();
  SteadyPattern(0);
  int slot = ParamSlot(kParamDirection, 0);
  state_->source[slot] = kSourceOscillate;
  state_->rangeLo[slot] = -3;
  state_->rangeHi[slot] = 3;
  state_->sense[slot] = 10;
  int lowest = 0, highest = 0;
  for (int t = 0; t < 40; ++t) {
    AnimatePaletteFrame(*state_);
    lowest = std::min(lowest, state_->value[slot]);
    highest = std::max(highest, state_->value[slot]);
  }
  EXPECT_EQ(lowest, -2);  // truncation toward zero never reaches the ends
  EXPECT_EQ(highest, 2);
  EXPECT_EQ(state_->value[ParamSlot(kParamDirection, 1)], 0);
}

TEST_F(PaletteTick, EventRate3000NeverFires) {
  SteadyPattern(5);
  SetParam(kParamEvent, 3000);
  for (int t = 0; t < 10000; ++t) PaletteEvents(*state_);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(state_->value[ParamSlot(kParamDirection, ch)], 5);
    EXPECT_EQ(state_->position[ch], kPaletteEntries);
    EXPECT_EQ(state_->eventCounter[ch], 0);
  }
}

TEST_F(PaletteTick, EventRateZeroFiresOnEverySecondTick) {
  SteadyPattern(7);
  SetParam(kParamEvent, 0);
  int reversals = 0, jumps = 0;
  for (int tick = 1; tick <= 40; ++tick) {
    int32_t before[kChannels];
    for (int ch = 0; ch < kChannels; ++ch) {
      state_->position[ch] = 5000;  // outside what a jump can produce
      before[ch] = state_->value[ParamSlot(kParamDirection, ch)];
    }
    PaletteEvents(*state_);
    for (int ch = 0; ch < kChannels; ++ch) {
      bool reversed = state_->value[ParamSlot(kParamDirection, ch)] == -before[ch];
      bool jumped = state_->position[ch] != 5000;
      EXPECT_EQ(reversed || jumped, tick % 2 == 0) << "tick " << tick;
      EXPECT_FALSE(reversed && jumped);
      if (jumped) {
        EXPECT_LE(state_->position[ch], 2047);
      }
      reversals += reversed;
      jumps += jumped;
    }
  }
  EXPECT_GT(reversals, 10);
  EXPECT_GT(jumps, 10);
}

TEST_F(PaletteTick, ChangePatternsNowMorphsEveryChannelOnTheNextTick) {
  UseIndexColours();
  SteadyPattern(0);
  ChangePatternsNow(*state_);
  for (int ch = 0; ch < kChannels; ++ch) EXPECT_EQ(state_->nextChange[ch], GetTickCount());
  AnimatePaletteFrame(*state_);  // the same millisecond: not yet past
  EXPECT_EQ(state_->morphing[0], 0);
  Advance(1);
  AnimatePaletteFrame(*state_);
  for (int ch = 0; ch < kChannels; ++ch) EXPECT_EQ(state_->morphing[ch], 1);
}

TEST_F(PaletteTick, ScheduleSoonChangeWaitsHalfASecond) {
  UseIndexColours();
  SteadyPattern(0);
  ScheduleSoonChange(*state_);
  Advance(500);
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(state_->morphing[2], 0);
  Advance(1);
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(state_->morphing[2], 1);
}

TEST_F(PaletteTick, ReverseDirectionTakesEffectOnTheNextTick) {
  UseIndexColours();
  SteadyPattern(2);
  ReverseDirection(*state_);
  EXPECT_EQ(state_->value[ParamSlot(kParamDirection, 0)], 2);  // the window thread does not write it
  AnimatePaletteFrame(*state_);
  for (int ch = 0; ch < kChannels; ++ch) EXPECT_EQ(state_->value[ParamSlot(kParamDirection, ch)], -2);
  EXPECT_EQ(state_->current[0][2], 0);  // scrolled up: entries 0..233 moved to 2..235
  EXPECT_EQ(state_->current[0][235], 233);
  ReverseDirection(*state_);
  ReverseDirection(*state_);
  AnimatePaletteFrame(*state_);
  EXPECT_EQ(state_->value[ParamSlot(kParamDirection, 1)], -2);  // two presses cancel
}

TEST_F(PaletteTick, UseCustomEffectSwitchesEveryChannelAtItsNextPattern) {
  SetEffect(kEffectRamp);
  SteadyPattern(0);
  UseCustomEffect(*state_);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(state_->effect[ch], kEffectCustom);
    EXPECT_EQ(state_->useCustom[ch], 0);
  }
  ChangePatternsNow(*state_);
  Advance(1);
  AnimatePaletteFrame(*state_);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(state_->useCustom[ch], 1);
    EXPECT_EQ(state_->ramp[ch], 0);
  }
}

}  // namespace
}  // namespace fluxo

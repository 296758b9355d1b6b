#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "palette_fixture.h"

namespace fluxo {
namespace {

class PalettePattern : public test::PaletteFixture {
 protected:
  // Channel 0 computes from a wave whose entry j is j * 8, so the base level
  // of a sample index j is j / 8.
  void RampWave() {
    for (int j = 0; j < kWaveSize; ++j) state_->waveTable[0][j] = j * 8;
    FixAllParams();
    state_->blackout[0] = state_->fade[0] = state_->ramp[0] = state_->useCustom[0] = 0;
  }
};

TEST_F(PalettePattern, EntryReadsTheWaveAtDensityTimesPositionPlusPhase) {
  RampWave();
  SetParam(kParamDensity, 3);
  state_->density[0] = 3;
  state_->phaseOffset[0] = 5;
  state_->position[0] = 100;
  ComputeEntry(*state_, 0, 7);
  EXPECT_EQ(state_->current[0][7], 305 * 8 >> 6);  // sample 3 * 100 + 5
  EXPECT_EQ(state_->position[0], 101);
  ComputeEntry(*state_, 0, 8);
  EXPECT_EQ(state_->current[0][8], 308 * 8 >> 6);
  // Past the end of the table the sample wraps: 3 * 700 + 5 = 2105 -> 57.
  state_->position[0] = 700;
  ComputeEntry(*state_, 0, 9);
  EXPECT_EQ(state_->current[0][9], 57 * 8 >> 6);
}

TEST_F(PalettePattern, NegativeSamplesWrapIntoTheTable) {
  RampWave();
  SetParam(kParamDensity, -3);  // e.g. a sound-driven Density with a stray range
  state_->density[0] = -3;
  state_->phaseOffset[0] = 0;
  state_->position[0] = 10;
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], (2048 - 30) * 8 >> 6);
  state_->position[0] = -1;  // a wrapped counter
  state_->useCustom[0] = 1;
  state_->customEntries[235].red = 99;
  ComputeEntry(*state_, 0, 1);
  EXPECT_EQ(state_->current[0][1], 99);
}

TEST_F(PalettePattern, BlackoutKeepsZeroAndHoldsThePosition) {
  RampWave();
  state_->blackout[0] = 1;
  state_->position[0] = 40;
  state_->current[0][3] = 200;
  ComputeEntry(*state_, 0, 3);
  EXPECT_EQ(state_->current[0][3], 0);
  EXPECT_EQ(state_->position[0], 40);
}

TEST_F(PalettePattern, IntensityScalesTheBaseLevelAndClipsAt255) {
  RampWave();
  SetParam(kParamDensity, 1);
  state_->density[0] = 1;
  state_->phaseOffset[0] = 0;
  const struct {
    int32_t intensity;
    int sample;
    int expected;
  } cases[] = {{100, 800, 100}, {50, 801, 50}, {200, 800, 200}, {200, 1600, 255}, {200, 1032, 255}, {0, 2000, 0}};
  for (const auto& c : cases) {
    SetParam(kParamIntensity, c.intensity);
    state_->position[0] = c.sample;
    ComputeEntry(*state_, 0, 0);
    EXPECT_EQ(state_->current[0][0], c.expected) << c.intensity << " at " << c.sample;
  }
}

TEST_F(PalettePattern, CustomColoursFollowThePositionWhateverTheDensity) {
  UseIndexColours();
  state_->useCustom[1] = 1;
  for (int i = 0; i < kPaletteEntries; ++i) state_->customEntries[i].green = static_cast<uint8_t>(255 - i);
  for (int32_t density : {1, 7, 80}) {
    SetParam(kParamDensity, density);
    state_->position[1] = 240;  // 240 mod 236 = 4
    ComputeEntry(*state_, 1, 0);
    EXPECT_EQ(state_->current[1][0], 251) << density;
  }
}

TEST_F(PalettePattern, FadeMultipliesByTheMagnitudeOfTheSine) {
  UseIndexColours();
  state_->useCustom[0] = 1;
  state_->fade[0] = 1;
  SetParam(kParamFadeFactor, 1);
  state_->position[0] = 1023;  // SineTable[1023] = 0
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 0);
  state_->position[0] = 1535;  // 1535 mod 236 = 119; |SineTable[1535]| = 16382
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 119 * 16382 / 16383);
  SetParam(kParamFadeFactor, 2);
  state_->position[0] = 100;  // sine index 200
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 100 * std::abs(SineTable[200]) / 16383);
}

TEST_F(PalettePattern, RampLightsOnlyTheFallingPartOfAPositiveLobe) {
  UseIndexColours();
  state_->useCustom[0] = 1;
  state_->ramp[0] = 1;
  SetParam(kParamRampDecay, 1);
  state_->rampPrev[0] = 0;
  state_->position[0] = 100;  // rising: dark
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 0);
  EXPECT_EQ(state_->rampPrev[0], SineTable[100]);
  state_->rampPrev[0] = SineTable[599];
  state_->position[0] = 600;  // falling and positive: lit
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 128 * SineTable[600] / 16383);  // 600 mod 236 = 128
  state_->rampPrev[0] = SineTable[1199];
  state_->position[0] = 1200;  // falling but negative: dark
  ComputeEntry(*state_, 0, 0);
  EXPECT_EQ(state_->current[0][0], 0);
}

TEST_F(PalettePattern, EffectCodesSetTheChannelFlags) {
  struct Case {
    int32_t effect;
    int ramp, fade, blackout, coarse;  // -1: either
  };
  const Case cases[] = {{kEffectRamp, 1, 0, 0, -1},   {kEffectFade, 0, 1, 0, -1},     {kEffectSmooth, 0, 0, 0, 0},
                        {kEffectCoarse, 0, 0, 0, 1},  {kEffectBlackout, 0, 0, 1, -1}, {kEffectCustom, 0, 0, 0, -1}};
  for (const Case& c : cases) {
    SetEffect(c.effect);
    for (int ch = 0; ch < kChannels; ++ch) {
      state_->ramp[ch] = state_->fade[ch] = state_->blackout[ch] = 1;
      ChooseChannelEffect(*state_, ch);
      EXPECT_EQ(state_->ramp[ch], c.ramp) << c.effect;
      EXPECT_EQ(state_->fade[ch], c.fade) << c.effect;
      EXPECT_EQ(state_->blackout[ch], c.blackout) << c.effect;
      if (c.coarse >= 0) {
        EXPECT_EQ(state_->coarse[ch], c.coarse) << c.effect;
      }
    }
  }
}

TEST_F(PalettePattern, RandomEffectRarelyRampsOrFadesAndUnknownCodesActAlike) {
  for (int32_t code : {int32_t{kEffectRandom}, 7, 99}) {
    SetEffect(code);
    int ramps = 0, fades = 0, coarse = 0;
    for (int n = 0; n < 3000; ++n) {
      ChooseChannelEffect(*state_, 0);
      EXPECT_FALSE(state_->ramp[0] && state_->fade[0]);
      EXPECT_EQ(state_->blackout[0], 0);
      ramps += state_->ramp[0];
      fades += state_->fade[0];
      coarse += state_->coarse[0];
    }
    // About 1/6 ramp, then 5/36 fade, and coarse half the time.
    EXPECT_NEAR(ramps, 500, 120) << code;
    EXPECT_NEAR(fades, 417, 120) << code;
    EXPECT_NEAR(coarse, 1500, 200) << code;
  }
}

TEST_F(PalettePattern, CustomStaysOnUntilTheSettingsAreReset) {
  SetEffect(kEffectCustom);
  ChooseChannelEffect(*state_, 2);
  EXPECT_EQ(state_->useCustom[2], 1);
  SetEffect(kEffectRamp);
  ChooseChannelEffect(*state_, 2);
  EXPECT_EQ(state_->useCustom[2], 1);
  EXPECT_EQ(state_->useCustom[0], 0);
  ResetPaletteSettings(*state_);
  EXPECT_EQ(state_->useCustom[2], 0);
}

TEST_F(PalettePattern, RandomSourcesDrawInsideTheRangeEitherWayRound) {
  int slot = ParamSlot(kParamDirection, 1);
  state_->source[slot] = 1;
  state_->rangeLo[slot] = 3;
  state_->rangeHi[slot] = -2;
  bool seen[6] = {};
  for (int n = 0; n < 500; ++n) {
    RandomizePaletteParams(*state_, 1);
    int32_t v = state_->value[slot];
    ASSERT_GE(v, -2);
    ASSERT_LE(v, 3);
    seen[v + 2] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
  state_->rangeLo[slot] = state_->rangeHi[slot] = 17;
  RandomizePaletteParams(*state_, 1);
  EXPECT_EQ(state_->value[slot], 17);
  // A Set parameter keeps its value.
  state_->source[slot] = 0;
  state_->value[slot] = -40;
  RandomizePaletteParams(*state_, 1);
  EXPECT_EQ(state_->value[slot], -40);
}

TEST_F(PalettePattern, OscillatingParametersAreEvaluatedFromTheirDrift) {
  int slot = ParamSlot(kParamScale, 0);
  state_->source[slot] = kSourceOscillate;
  state_->rangeLo[slot] = 0;
  state_->rangeHi[slot] = 100;
  state_->sense[slot] = 10;
  state_->drift[slot] = 0.5f;
  EvaluatePaletteParams(*state_, 0);
  // From drift 0.5 the oscillation starts mid-range and moves toward rangeLo.
  EXPECT_GT(state_->drift[slot], 0.5f);
  EXPECT_LT(state_->value[slot], 50);
  EXPECT_GT(state_->value[slot], 40);
  EXPECT_EQ(state_->value[ParamSlot(kParamScale, 1)], 100);  // other channels untouched
}

TEST_F(PalettePattern, NewPatternComputesEveryEntryAndSchedulesTheNextChange) {
  UseIndexColours();
  FixAllParams();
  SetParam(kParamSeconds, 20);
  NewChannelPattern(*state_, 0);
  EXPECT_EQ(state_->durationMs, 20000);
  EXPECT_EQ(state_->nextChange[0], GetTickCount() + 20000);
  EXPECT_EQ(state_->position[0], kPaletteEntries);
  EXPECT_GE(state_->phaseOffset[0], 0);
  EXPECT_LT(state_->phaseOffset[0], kPaletteEntries);
  for (int i = 0; i < kPaletteEntries; ++i) EXPECT_EQ(state_->current[0][i], i);
}

TEST_F(PalettePattern, NewPatternTakesTheDensityValueAndARealWave) {
  SetEffect(kEffectSmooth);
  FixAllParams();
  SetParam(kParamDensity, 11);
  for (int n = 0; n < 8; ++n) {
    NewChannelPattern(*state_, 1);
    EXPECT_EQ(state_->density[1], 11);
    const int32_t* wave = state_->waveTable[1];
    // Smooth patterns use the plain sine or the standard triangle.
    bool sine = std::equal(wave, wave + kWaveSize, SineTable);
    bool triangle = wave[0] == 0 && wave[512] == 16383 && wave[1537] == -16383;
    EXPECT_TRUE(sine || triangle);
  }
}

}  // namespace
}  // namespace fluxo

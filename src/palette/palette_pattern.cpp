#include <algorithm>
#include <cstdlib>
#include <limits>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "palette/palette_params.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {

int32_t EvaluatePaletteParam(PaletteState& state, int param, int channel) {
  int slot = ParamSlot(param, channel);
  float result = EvaluateSource(state.source[slot], state.drift[slot], static_cast<float>(state.sense[slot]),
                                static_cast<float>(state.rangeLo[slot]), static_cast<float>(state.rangeHi[slot]));
  state.value[slot] = TruncateSourceResult(result);
  return state.value[slot];
}

int32_t LivePaletteParam(PaletteState& state, int param, int channel) {
  int slot = ParamSlot(param, channel);
  if (state.source[slot] >= kSourceOscillate) return EvaluatePaletteParam(state, param, channel);
  return state.value[slot];
}

void RandomizePaletteParams(PaletteState& state, int channel) {
  for (int k = 0; k < kPaletteParamCount; ++k) {
    int slot = ParamSlot(k, channel);
    if (state.source[slot] != kSourceRandom) continue;
    int64_t lo = state.rangeLo[slot], hi = state.rangeHi[slot];
    int64_t span = hi > lo ? hi - lo : lo - hi;
    state.value[slot] = static_cast<int32_t>(std::min(lo, hi) + Rand() % (span + 1));
  }
}

void EvaluatePaletteParams(PaletteState& state, int channel) {
  for (int k = 0; k < kPaletteParamCount; ++k)
    if (state.source[ParamSlot(k, channel)] >= kSourceOscillate) EvaluatePaletteParam(state, k, channel);
}

void ChooseChannelEffect(PaletteState& state, int channel) {
  RandomizePaletteParams(state, channel);
  EvaluatePaletteParams(state, channel);
  int64_t durationMs = int64_t{state.value[ParamSlot(kParamSeconds, channel)]} * 1000;
  state.durationMs = static_cast<int32_t>(std::clamp<int64_t>(durationMs, 0, std::numeric_limits<int32_t>::max()));
  state.ramp[channel] = state.fade[channel] = state.blackout[channel] = 0;
  state.coarse[channel] = Rand() & 1;
  switch (state.effect[channel].load(std::memory_order_relaxed)) {
    case kEffectRamp:
      state.ramp[channel] = 1;
      break;
    case kEffectFade:
      state.fade[channel] = 1;
      break;
    case kEffectSmooth:
      state.coarse[channel] = 0;
      break;
    case kEffectCoarse:
      state.coarse[channel] = 1;
      break;
    case kEffectBlackout:
      state.blackout[channel] = 1;
      break;
    case kEffectCustom:
      state.useCustom[channel] = 1;  // stays on until the settings are reset
      break;
    default:  // Random, and any unknown code
      state.ramp[channel] = Rand() % 6 == 1;
      if (!state.ramp[channel]) state.fade[channel] = Rand() % 6 == 1;
      break;
  }
}

void ComputeEntry(PaletteState& state, int channel, int entry) {
  uint8_t& out = state.current[channel][entry];
  if (state.blackout[channel]) {
    out = 0;
    return;
  }
  int32_t position = state.position[channel];
  int base;
  if (state.useCustom[channel]) {
    const PaletteEntry& custom = state.customEntries[WrapIndex(position, kPaletteEntries)];
    base = channel == 0 ? custom.red : channel == 1 ? custom.green : custom.blue;
  } else {
    int64_t sample = int64_t{state.density[channel]} * position + state.phaseOffset[channel];
    base = std::abs(state.waveTable[channel][WrapIndex(sample, kWaveSize)]) >> 6;
  }
  int64_t level = int64_t{LivePaletteParam(state, kParamIntensity, channel)} * base / 100;
  level = std::clamp<int64_t>(level, 0, 255);
  state.density[channel] = LivePaletteParam(state, kParamDensity, channel);

  if (state.fade[channel]) {
    int64_t factor = LivePaletteParam(state, kParamFadeFactor, channel);
    int64_t s = std::abs(SineTable[WrapIndex(position * factor, kWaveSize)]);
    level = level * s / 16383;
  } else if (state.ramp[channel]) {
    int64_t decay = LivePaletteParam(state, kParamRampDecay, channel);
    int32_t s = SineTable[WrapIndex(position * decay, kWaveSize)];
    // Only the falling half of each positive lobe lights: a bright edge that decays.
    level = state.rampPrev[channel] > s && s > 0 ? level * s / 16383 : 0;
    state.rampPrev[channel] = s;
  }
  out = static_cast<uint8_t>(level);
  // Wraps rather than overflowing; WrapIndex keeps a wrapped position in the tables.
  state.position[channel] = static_cast<int32_t>(static_cast<uint32_t>(position) + 1u);
}

void NewChannelPattern(PaletteState& state, int channel) {
  ChooseChannelEffect(state, channel);
  state.nextChange[channel].store(GetTickCount() + static_cast<uint32_t>(state.durationMs), std::memory_order_relaxed);
  int32_t* wave = state.waveTable[channel];
  if (Rand() & 1)
    FillSineWave(wave);
  else
    FillStandardTriangle(wave);
  if (state.coarse[channel]) RoughenWave(wave);
  state.density[channel] = state.value[ParamSlot(kParamDensity, channel)];
  state.phaseOffset[channel] = Rand() % kPaletteEntries;
  state.position[channel] = 0;
  for (int i = 0; i < kPaletteEntries; ++i) ComputeEntry(state, channel, i);
}

void NewAllPatterns(PaletteState& state) {
  for (int ch = 0; ch < kChannels; ++ch) NewChannelPattern(state, ch);
}

}  // namespace fluxo

#include "palette/palette_engine.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

constexpr int32_t kDefaultSense = 7;
constexpr float kDefaultDrift = 0.5f;
constexpr int32_t kDefaultDurationMs = 15000;

// Source 1 is "Random": Density and MorphRate are drawn afresh at every pattern.
constexpr PaletteParamInfo kParams[kPaletteParamCount] = {
    {"Scale", "Brightness", 100, 0, 0, 100, 0, 100, 1},
    {"Density", "Color Frequency", 6, 1, 1, 12, 1, 80, 1},
    {"FadeFactor", "Fade Frequency", 14, 0, 1, 200, 1, 300, 1},
    {"RampDecay", "Ramp Frequency", 14, 0, 1, 200, 1, 300, 1},
    {"Seconds", "Duration", 16, 0, 10, 30, 0, 300, 0},
    {"CycleRate", "Cycle Rate", 30, 0, 10, 60, 10, 200, 0},
    {"Event", "Event Rate", 1000, 0, 10, 600, 0, 3000, 0},
    {"Direction", "Direction", 1, 0, -3, 3, -50, 50, 1},
    {"MorphRate", "Morph Rate", 9, 1, 6, 16, 1, 64, 1},
    {"Intensity", "Intensity", 100, 0, 0, 100, 0, 200, 1},
};

}  // namespace

const PaletteParamInfo& PaletteParamTable(int param) { return kParams[param]; }

void ResetPaletteSettings(PaletteState& state) {
  for (int k = 0; k < kPaletteParamCount; ++k) {
    const PaletteParamInfo& info = kParams[k];
    state.minValue[k] = info.minValue;
    state.maxValue[k] = info.maxValue;
    state.soundCapable[k] = info.soundCapable;
    for (int ch = 0; ch < kChannels; ++ch) {
      int slot = ParamSlot(k, ch);
      state.source[slot] = info.source;
      state.value[slot] = info.value;
      state.rangeLo[slot] = info.rangeLo;
      state.rangeHi[slot] = info.rangeHi;
      state.sense[slot] = kDefaultSense;
      state.drift[slot] = kDefaultDrift;
    }
  }
  // A cleared change time means "change at once"; with wrap-safe deadlines
  // that is the present tick rather than 0.
  uint32_t now = GetTickCount();
  for (int ch = 0; ch < kChannels; ++ch) {
    state.fade[ch] = state.useCustom[ch] = state.ramp[ch] = 0;
    state.coarse[ch] = state.blackout[ch] = state.morphing[ch] = 0;
    state.eventCounter[ch] = 0;
    state.nextChange[ch].store(now, std::memory_order_relaxed);
  }
  state.durationMs = kDefaultDurationMs;
  state.entryCount = kPaletteEntries;
}

}  // namespace fluxo

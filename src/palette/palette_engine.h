#pragma once
#include <atomic>
#include <cstdint>

#include "platform/gdi/frame_surface.h"

namespace fluxo {

constexpr int kPaletteEntries = 236;
constexpr int kChannels = 3;
constexpr int kWaveSize = 2048;

// The ten parameters of every channel; parameter k of channel ch is at k * 3 + ch.
enum PaletteParam : int {
  kParamScale = 0,
  kParamDensity,
  kParamFadeFactor,
  kParamRampDecay,
  kParamSeconds,
  kParamCycleRate,
  kParamEvent,
  kParamDirection,
  kParamMorphRate,
  kParamIntensity,
  kPaletteParamCount
};
constexpr int ParamSlot(int param, int channel) { return param * 3 + channel; }

// One row of the parameter table: registry base name, palette page label,
// defaults for every channel and the legal limits.
struct PaletteParamInfo {
  const char* baseName;  // "Density" -> "GreenDensityRangeHi"
  const char* pageLabel;
  int32_t value, source, rangeLo, rangeHi, minValue, maxValue, soundCapable;
};
const PaletteParamInfo& PaletteParamTable(int param);

enum PaletteEffect : int32_t {
  kEffectRamp = 0,
  kEffectFade,
  kEffectSmooth,
  kEffectCoarse,
  kEffectBlackout,
  kEffectRandom,
  kEffectCustom
};

struct PaletteEntry {
  uint8_t red, green, blue, flags;
};

struct PaletteState {
  PaletteEntry logPalette[kPaletteEntries];
  uint8_t current[kChannels][kPaletteEntries];
  uint8_t previous[kChannels][kPaletteEntries];
  uint8_t next[kChannels][kPaletteEntries];
  int32_t position[kChannels];
  int32_t density[kChannels];
  int32_t phaseOffset[kChannels];
  int32_t minValue[kPaletteParamCount];
  int32_t maxValue[kPaletteParamCount];
  int32_t soundCapable[kPaletteParamCount];
  int32_t source[kPaletteParamCount * 3];
  int32_t value[kPaletteParamCount * 3];
  int32_t rangeLo[kPaletteParamCount * 3];
  int32_t rangeHi[kPaletteParamCount * 3];
  int32_t sense[kPaletteParamCount * 3];
  float drift[kPaletteParamCount * 3];
  // Written by the window thread's hot keys (F3, F4) while the palette thread reads.
  std::atomic<int32_t> effect[kChannels];
  int32_t allEffect;
  int32_t fade[kChannels];
  int32_t ramp[kChannels];
  int32_t coarse[kChannels];
  int32_t blackout[kChannels];
  int32_t morphPos[kChannels];
  int32_t morphStep[kChannels];
  int32_t eventCounter[kChannels];
  int32_t useCustom[kChannels];
  int32_t morphing[kChannels];
  int32_t durationMs;
  std::atomic<uint32_t> nextChange[kChannels];
  int32_t entryCount;
  int32_t rampPrev[kChannels];
  // F8: the number of direction reversals the palette thread still has to apply.
  std::atomic<int32_t> pendingReversals;
  // 1 while the palette thread is inside a tick (see HoldPaletteTicks).
  std::atomic<int32_t> ticking;
  gdi::FrameSurface* dc;
  PaletteEntry customEntries[kPaletteEntries];
  int32_t waveTable[kChannels][kWaveSize];
};

// The process-wide engine of the running saver or the configuration dialog:
// set by CreatePaletteEngine, cleared by DestroyPaletteEngine.
PaletteState* CurrentPalette();
// Runs `hook` on the current engine, if any, while it cannot be destroyed.
void WithCurrentPalette(void (*hook)(PaletteState&));

// Null when the engine cannot be allocated; the caller runs without palette animation.
PaletteState* CreatePaletteEngine(gdi::FrameSurface* dc);
void DestroyPaletteEngine(PaletteState* state);
void ResetPaletteSettings(PaletteState& state);
void AnimatePaletteFrame(PaletteState& state);
void PaletteEvents(PaletteState& state);
void NewChannelPattern(PaletteState& state, int channel);
void NewAllPatterns(PaletteState& state);
void ScheduleSoonChange(PaletteState& state);
void ChooseChannelEffect(PaletteState& state, int channel);
void RandomizePaletteParams(PaletteState& state, int channel);
void EvaluatePaletteParams(PaletteState& state, int channel);
void ComputeEntry(PaletteState& state, int channel, int entry);

// Hot-key hooks of the saver window: F4 changes every pattern now, F8 reverses
// the scrolling, F3 switches every channel to the custom colours.
void ChangePatternsNow(PaletteState& state);
void ReverseDirection(PaletteState& state);
void UseCustomEffect(PaletteState& state);

// Body of the palette thread: ticks until the saver stops running.
void PaletteThread(PaletteState& state);

// For another thread that edits the engine while the palette thread runs (a
// display load, a capture): raises PalettePaused and returns once no tick is
// in progress, so the edits cannot race a tick. Release lowers the flag.
void HoldPaletteTicks(const PaletteState& state);
void ReleasePaletteTicks();

// Wave tables of 2048 entries.
void FillSineWave(int32_t* wave);
void FillTriangleWave(int32_t* wave, double step);
void FillStandardTriangle(int32_t* wave);
void FillJaggedWave(int32_t* wave);
void RoughenWave(int32_t* wave);
void SmoothWave(int32_t* wave);
void SeedPaletteColours(PaletteEntry* entries, int redStep, int greenStep, int blueStep);

}  // namespace fluxo

#include <algorithm>
#include <cstring>
#include <limits>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "palette/palette_params.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

constexpr int32_t kEventNever = 3000;
constexpr uint32_t kSoonChangeMs = 500;

int32_t Negated(int32_t v) { return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -v; }

// F8 presses arrive from the window thread as a count; an odd count flips the scrolling.
void ApplyPendingReversals(PaletteState& state) {
  if (state.pendingReversals.exchange(0) % 2 == 0) return;
  for (int ch = 0; ch < kChannels; ++ch) {
    int32_t& direction = state.value[ParamSlot(kParamDirection, ch)];
    direction = Negated(direction);
  }
}

void StartMorph(PaletteState& state, int ch) {
  std::memcpy(state.previous[ch], state.current[ch], kPaletteEntries);
  NewChannelPattern(state, ch);
  std::memcpy(state.next[ch], state.current[ch], kPaletteEntries);
  state.morphing[ch] = 1;
  state.morphPos[ch] = 0;
  // A step below 1 (a stray stored range) would never finish the morph; above
  // 256 it ends after one blend anyway.
  state.morphStep[ch] = std::clamp(LivePaletteParam(state, kParamMorphRate, ch), 1, 256);
}

void MorphStep(PaletteState& state, int ch) {
  int32_t pos = state.morphPos[ch];
  for (int i = 0; i < kPaletteEntries; ++i)
    state.current[ch][i] = static_cast<uint8_t>((state.previous[ch][i] * (255 - pos) + state.next[ch][i] * pos) >> 8);
  state.morphPos[ch] = pos + state.morphStep[ch];
  if (state.morphPos[ch] > 255) state.morphing[ch] = 0;
}

// The newest samples enter at the far end of the movement.
void Scroll(PaletteState& state, int ch) {
  int32_t d = std::clamp(LivePaletteParam(state, kParamDirection, ch), -kPaletteEntries, kPaletteEntries);
  uint8_t* entries = state.current[ch];
  if (d > 0) {
    std::memmove(entries, entries + d, kPaletteEntries - d);
    for (int i = kPaletteEntries - d; i < kPaletteEntries; ++i) ComputeEntry(state, ch, i);
  } else if (d < 0) {
    std::memmove(entries - d, entries, kPaletteEntries + d);
    for (int i = -d - 1; i >= 0; --i) ComputeEntry(state, ch, i);
  }
}

void WritePalette(PaletteState& state) {
  int32_t scale[kChannels];
  for (int ch = 0; ch < kChannels; ++ch) scale[ch] = LivePaletteParam(state, kParamScale, ch);
  uint8_t rgb[kPaletteEntries * 3];
  for (int i = 0; i < kPaletteEntries; ++i) {
    uint8_t level[kChannels];
    for (int ch = 0; ch < kChannels; ++ch)
      level[ch] = static_cast<uint8_t>(std::clamp<int64_t>(int64_t{state.current[ch][i]} * scale[ch] / 100, 0, 255));
    state.logPalette[i] = {level[0], level[1], level[2], 1};
    std::memcpy(rgb + i * 3, level, 3);
  }
  // The presenter recolours the picture from the table, so every tick is written.
  if (state.dc) state.dc->Palette().AnimateEntries(0, kPaletteEntries, rgb);
}

}  // namespace

void AnimatePaletteFrame(PaletteState& state) {
  ApplyPendingReversals(state);
  uint32_t now = GetTickCount();
  for (int ch = 0; ch < kChannels; ++ch)
    if (TickIsPast(now, state.nextChange[ch].load(std::memory_order_relaxed)) && !state.morphing[ch])
      StartMorph(state, ch);
  for (int ch = 0; ch < kChannels; ++ch) {
    if (state.morphing[ch])
      MorphStep(state, ch);
    else
      Scroll(state, ch);
  }
  WritePalette(state);
}

void PaletteEvents(PaletteState& state) {
  for (int ch = 0; ch < kChannels; ++ch) {
    int32_t rate = state.value[ParamSlot(kParamEvent, ch)];
    if (rate == kEventNever) continue;
    if (state.eventCounter[ch]++ <= rate) continue;
    state.eventCounter[ch] = 0;
    if (Rand() & 1) {
      int32_t& direction = state.value[ParamSlot(kParamDirection, ch)];
      direction = Negated(direction);
    } else {
      state.position[ch] = Rand() & 2047;
    }
  }
}

void ScheduleSoonChange(PaletteState& state) {
  uint32_t soon = GetTickCount() + kSoonChangeMs;
  for (auto& change : state.nextChange) change.store(soon, std::memory_order_relaxed);
}

void ChangePatternsNow(PaletteState& state) {
  uint32_t now = GetTickCount();
  for (auto& change : state.nextChange) change.store(now, std::memory_order_relaxed);
}

void ReverseDirection(PaletteState& state) { state.pendingReversals.fetch_add(1); }

void UseCustomEffect(PaletteState& state) {
  for (auto& effect : state.effect) effect.store(kEffectCustom, std::memory_order_relaxed);
}

}  // namespace fluxo

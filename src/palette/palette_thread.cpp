#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/saver_state.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

// The red channel's CycleRate serves all channels; kept to its legal range so
// a stray stored value can neither spin the thread nor stall its shutdown.
std::chrono::milliseconds CyclePause(const PaletteState& state) {
  int32_t rate = state.value[ParamSlot(kParamCycleRate, 0)];
  return std::chrono::milliseconds(std::clamp(rate, state.minValue[kParamCycleRate], state.maxValue[kParamCycleRate]));
}

// The pause is read inside the tick as well: a display loading meanwhile
// rewrites the parameters, and the last pause serves until it is done.
void Tick(PaletteState& state, const SaverState& saver, std::chrono::milliseconds& pause) {
  // Announced before PalettePaused is read; HoldPaletteTicks does the reverse.
  state.ticking.store(1);
  if (!saver.palettePaused.load()) {
    AnimatePaletteFrame(state);
    PaletteEvents(state);
    pause = CyclePause(state);
  }
  state.ticking.store(0);
}

}  // namespace

void PaletteThread(PaletteState& state) {
  SaverState& saver = Saver();
  try {
    SeedRandom(TickSeed(1));
    NewAllPatterns(state);
    std::chrono::milliseconds pause = CyclePause(state);
    saver.paletteReady.store(1);
    while (saver.saverRunning.load()) {
      saver.paletteGate.Pass();
      Tick(state, saver, pause);
      std::this_thread::sleep_for(pause);
    }
  } catch (...) {
    state.ticking.store(0);
    saver.saverRunning.store(0);
    // The render thread waits for this flag; it must not wait for a thread that died.
    saver.paletteReady.store(1);
    try {
      RecordException("AnimatePalette");
    } catch (...) {
      // Nothing more can be done at the thread's top.
    }
  }
}

void HoldPaletteTicks(const PaletteState& state) {
  Saver().palettePaused.store(1);
  while (state.ticking.load()) std::this_thread::yield();
}

void ReleasePaletteTicks() { Saver().palettePaused.store(0); }

}  // namespace fluxo

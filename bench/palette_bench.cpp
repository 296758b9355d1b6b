#include <benchmark/benchmark.h>

#include "palette/palette_engine.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

// A tick as the palette thread runs it, writing into a device table.
struct BenchEngine {
  gdi::FrameSurface surface{64, 64};
  PaletteState* state = CreatePaletteEngine(&surface);
  BenchEngine() {
    SeedRandom(7);
    NewAllPatterns(*state);
  }
  ~BenchEngine() { DestroyPaletteEngine(state); }
};

void BM_PaletteTickDefault(benchmark::State& run) {
  BenchEngine engine;
  for (auto _ : run) {
    AnimatePaletteFrame(*engine.state);
    PaletteEvents(*engine.state);
  }
}
BENCHMARK(BM_PaletteTickDefault);

// Every channel blends all 236 entries in every tick.
void BM_PaletteTickMorphing(benchmark::State& run) {
  BenchEngine engine;
  PaletteState& state = *engine.state;
  for (int ch = 0; ch < kChannels; ++ch) state.morphStep[ch] = 1;
  for (auto _ : run) {
    for (int ch = 0; ch < kChannels; ++ch) {
      state.morphing[ch] = 1;
      state.morphPos[ch] = 128;
    }
    AnimatePaletteFrame(state);
    PaletteEvents(state);
  }
}
BENCHMARK(BM_PaletteTickMorphing);

// The pattern change at the start of a morph (a coarse wave is the costly case).
void BM_PaletteNewPattern(benchmark::State& run) {
  BenchEngine engine;
  for (auto& effect : engine.state->effect) effect = kEffectCoarse;
  for (auto _ : run) NewChannelPattern(*engine.state, 0);
}
BENCHMARK(BM_PaletteNewPattern);

}  // namespace
}  // namespace fluxo

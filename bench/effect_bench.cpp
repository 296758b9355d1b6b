// Effect passes at 1920x1080 without pacing: the default pass (waiting for
// its interval) and one application of each kind of effect per iteration.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/effect.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kType = 0, kDisplayInterval = 3 };

void RunEffectFrames(benchmark::State& state, int type, int interval) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  // A busy picture, so copies and inversions touch real data.
  uint8_t* pixels = surface->MutablePixels();
  for (int i = 0; i < 1920 * 1080; ++i) pixels[i] = static_cast<uint8_t>(10 + (i * 7 + i / 1920 * 31) % 236);
  ModuleSlot& slot = Slot(kModuleEffect);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kType] = type;
  slot.controls.value[kDisplayInterval] = interval;
  SeedRandom(12345);
  kEffectOperations.allocate(&slot);
  kEffectOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kEffectOperations.frame(&slot));
  kEffectOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_EffectFrameDefaults(benchmark::State& state) { RunEffectFrames(state, 0, 20); }
void BM_EffectApply(benchmark::State& state) { RunEffectFrames(state, static_cast<int>(state.range(0)), 0); }

BENCHMARK(BM_EffectFrameDefaults)->Unit(benchmark::kMicrosecond);
// 0 rectangles, 1 ellipses, 3 both ellipse sets, 5 quarter ellipses, 6 and 11
// kaleidoscope depth 1 and 6, 12 with a random seed, 18 stripes, 21 and 24 blobs.
void EffectTypes(benchmark::internal::Benchmark* b) {
  for (int type : {0, 1, 3, 5, 6, 11, 12, 18, 21, 24}) b->Arg(type);
}
BENCHMARK(BM_EffectApply)->ArgName("type")->Apply(EffectTypes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

// Stain frame passes at 1920x1080, without pacing (no exchange or clock
// attached). The image duration is 0 so that every pass grows its four rings
// instead of waiting between pictures; everything else is at its default.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/stain.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kNodes = 0, kType = 2, kImageDuration = 3 };

void RunStainFrames(benchmark::State& state, int nodes, int type) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleStain);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kImageDuration] = 0;
  slot.controls.value[kNodes] = nodes;
  slot.controls.value[kType] = type;
  SeedRandom(12345);
  kStainOperations.allocate(&slot);
  kStainOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kStainOperations.frame(&slot));
  kStainOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_StainFrameDefaults(benchmark::State& state) { RunStainFrames(state, 2, 4); }
// Four nodes with the generator that evaluates the colour mean up to twice.
void BM_StainFrameFourNodesGenerator9(benchmark::State& state) { RunStainFrames(state, 4, 9); }

BENCHMARK(BM_StainFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StainFrameFourNodesGenerator9)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

// Ray frame passes at 1920x1080, without pacing (no exchange or clock
// attached). The duration is 0 so that every pass draws its three rings
// instead of waiting between pictures; everything else is at its default.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/ray.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kFolding = 3, kDuration = 6 };

void RunRayFrames(benchmark::State& state, int folding) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleRay);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kDuration] = 0;
  slot.controls.value[kFolding] = folding;
  SeedRandom(12345);
  kRayOperations.allocate(&slot);
  kRayOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kRayOperations.frame(&slot));
  kRayOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_RayFrameDefaults(benchmark::State& state) { RunRayFrames(state, 2); }
// Unfolded rings: four stretched strips per ring.
void BM_RayFrameUnfolded(benchmark::State& state) { RunRayFrames(state, 0); }

BENCHMARK(BM_RayFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RayFrameUnfolded)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

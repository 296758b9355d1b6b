// A Cyclic frame pass at 1920x1080, without pacing (no exchange or clock attached).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/cyclic.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kPlanarSymmetry = 4 };

void KeepDefaults(ModuleSlot&) {}
void MostSymmetry(ModuleSlot& slot) { slot.controls.value[kPlanarSymmetry] = 32; }

void RunCyclicFrames(benchmark::State& state, void (*adjust)(ModuleSlot&)) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleCyclic);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  adjust(slot);
  SeedRandom(12345);
  kCyclicOperations.allocate(&slot);
  kCyclicOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kCyclicOperations.frame(&slot));
  kCyclicOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_CyclicFrameDefaults(benchmark::State& state) { RunCyclicFrames(state, KeepDefaults); }
void BM_CyclicFrameSymmetry32(benchmark::State& state) { RunCyclicFrames(state, MostSymmetry); }

BENCHMARK(BM_CyclicFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CyclicFrameSymmetry32)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

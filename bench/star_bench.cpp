// A Star frame pass at 1920x1080, without pacing (no exchange or clock attached).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/star.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kSymmetry = 13 };

void KeepDefaults(ModuleSlot&) {}
void MostSymmetry(ModuleSlot& slot) { slot.controls.value[kSymmetry] = 128; }

void RunStarFrames(benchmark::State& state, void (*adjust)(ModuleSlot&)) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleStar);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  adjust(slot);
  SeedRandom(12345);
  kStarOperations.allocate(&slot);
  kStarOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kStarOperations.frame(&slot));
  kStarOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_StarFrameDefaults(benchmark::State& state) { RunStarFrames(state, KeepDefaults); }
void BM_StarFrameSymmetry128(benchmark::State& state) { RunStarFrames(state, MostSymmetry); }

BENCHMARK(BM_StarFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StarFrameSymmetry128)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

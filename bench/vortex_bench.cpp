// A Vortex frame pass at 1920x1080, without pacing (no exchange or clock attached).
// A collapsed vortex waits "Image Duration" seconds without drawing; the
// benchmark sets it to 0 and moves a clock 16 ms a pass, so every pass
// measured draws (or starts the next vortex, once per vortex).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/vortex.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum { kImageDuration = 3, kXTiling = 10, kYTiling = 11 };

uint32_t g_now = 0;
uint32_t PassClock() { return g_now; }

void KeepDefaults(ModuleSlot&) {}
void MostTiles(ModuleSlot& slot) {
  slot.controls.value[kXTiling] = 20;
  slot.controls.value[kYTiling] = 20;
}

void RunVortexFrames(benchmark::State& state, void (*adjust)(ModuleSlot&)) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleVortex);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kImageDuration] = 0;
  adjust(slot);
  SetTickSourceForTesting(&PassClock);
  SeedRandom(12345);
  kVortexOperations.allocate(&slot);
  kVortexOperations.initialise(&slot);
  for (auto _ : state) {
    g_now += 16;
    benchmark::DoNotOptimize(kVortexOperations.frame(&slot));
  }
  kVortexOperations.free(&slot);
  SetTickSourceForTesting(nullptr);
  slot.dc = nullptr;
}

void BM_VortexFrameDefaults(benchmark::State& state) { RunVortexFrames(state, KeepDefaults); }
void BM_VortexFrameTiled20x20(benchmark::State& state) { RunVortexFrames(state, MostTiles); }

BENCHMARK(BM_VortexFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VortexFrameTiled20x20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

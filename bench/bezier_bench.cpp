// A Bezier frame pass at 1920x1080, without pacing (no exchange or clock attached).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/bezier.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kSymmetry = 1, kWidth = 3, kXTiling = 6, kYTiling = 7 };

void KeepDefaults(ModuleSlot&) {}

void HeavySettings(ModuleSlot& slot) {
  slot.controls.value[kSymmetry] = 32;
  slot.controls.value[kWidth] = 200;
  slot.controls.value[kXTiling] = 4;
  slot.controls.value[kYTiling] = 4;
}

void RunBezierFrames(benchmark::State& state, void (*adjust)(ModuleSlot&)) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleBezier);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  adjust(slot);
  SeedRandom(12345);
  kBezierOperations.allocate(&slot);
  kBezierOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kBezierOperations.frame(&slot));
  kBezierOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_BezierFrameDefaults(benchmark::State& state) { RunBezierFrames(state, KeepDefaults); }
void BM_BezierFrameSymmetry32Width200Tiled4x4(benchmark::State& state) { RunBezierFrames(state, HeavySettings); }

BENCHMARK(BM_BezierFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BezierFrameSymmetry32Width200Tiled4x4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

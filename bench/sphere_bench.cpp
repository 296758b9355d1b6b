// Sphere frame passes at 1920x1080 without pacing.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/sphere.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kSymmetry = 1, kType = 2, kXTiling = 4, kYTiling = 5 };

void RunSphereFrames(benchmark::State& state, int symmetry, int type, int tiles) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModuleSphere);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kSymmetry] = symmetry;
  slot.controls.value[kType] = type;
  slot.controls.value[kXTiling] = tiles;
  slot.controls.value[kYTiling] = tiles;
  SeedRandom(12345);
  kSphereOperations.allocate(&slot);
  kSphereOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kSphereOperations.frame(&slot));
  kSphereOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_SphereFrameDefaults(benchmark::State& state) { RunSphereFrames(state, 8, 0, 1); }
void BM_SphereFrameSymmetry128(benchmark::State& state) { RunSphereFrames(state, 128, 0, 1); }
// Wedge clipping and mirrored stamps.
void BM_SphereFrameSymmetry128WedgeMirror(benchmark::State& state) { RunSphereFrames(state, 128, 3, 1); }
void BM_SphereFrameSymmetry128Tiled20x20(benchmark::State& state) { RunSphereFrames(state, 128, 0, 20); }

BENCHMARK(BM_SphereFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SphereFrameSymmetry128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SphereFrameSymmetry128WedgeMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SphereFrameSymmetry128Tiled20x20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

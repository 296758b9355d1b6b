// Polygon frame passes at 1920x1080 without pacing.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/polygon.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kVertices = 0, kSymmetry = 1, kOutline = 3, kXTiling = 4, kYTiling = 5 };

void RunPolygonFrames(benchmark::State& state, int symmetry, int tiles, int vertices, int outline) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModulePolygon);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kVertices] = vertices;
  slot.controls.value[kSymmetry] = symmetry;
  slot.controls.value[kOutline] = outline;
  slot.controls.value[kXTiling] = tiles;
  slot.controls.value[kYTiling] = tiles;
  SeedRandom(12345);
  kPolygonOperations.allocate(&slot);
  kPolygonOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kPolygonOperations.frame(&slot));
  kPolygonOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_PolygonFrameDefaults(benchmark::State& state) { RunPolygonFrames(state, 10, 1, 3, 0); }
void BM_PolygonFrameSymmetry50(benchmark::State& state) { RunPolygonFrames(state, 50, 1, 3, 0); }
void BM_PolygonFrameSymmetry50Vertices20Outlined(benchmark::State& state) { RunPolygonFrames(state, 50, 1, 20, 1); }
void BM_PolygonFrameSymmetry50Tiled20x20(benchmark::State& state) { RunPolygonFrames(state, 50, 20, 3, 0); }

BENCHMARK(BM_PolygonFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PolygonFrameSymmetry50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonFrameSymmetry50Vertices20Outlined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonFrameSymmetry50Tiled20x20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

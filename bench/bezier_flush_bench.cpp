// The render thread's flush after real Bezier passes at 1920x1080, and how
// much of the frame the passes draw into and change.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/bezier.h"
#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

int CountTiles(const gdi::ChangedTiles& tiles) {
  int count = 0;
  for (int band = 0; band < tiles.Bands(); ++band)
    for (int column = 0; column < tiles.Columns(); ++column) count += tiles.Marked(column, band) ? 1 : 0;
  return count;
}

// `wholeFrame`: the whole frame is compared instead of the drawn tiles only.
void FlushAfterBezierPasses(benchmark::State& state, bool wholeFrame) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  gdi::FrameExchange exchange;
  surface->AttachPresentation(&exchange, nullptr);
  ModuleSlot& slot = Slot(kModuleBezier);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  SeedRandom(12345);
  kBezierOperations.allocate(&slot);
  kBezierOperations.initialise(&slot);
  for (int i = 0; i < 120; ++i) kBezierOperations.frame(&slot), surface->Flush();  // a filled screen
  gdi::ChangedTiles changed;
  exchange.TakeChanges(changed);
  double drawn = 0, changes = 0, tiles = CountTiles(changed);
  for (auto _ : state) {
    state.PauseTiming();
    kBezierOperations.frame(&slot);
    drawn += CountTiles(surface->DrawnTiles());
    state.ResumeTiming();
    if (wholeFrame) {
      exchange.Publish(surface->Pixels(), surface->Width(), surface->Height());
    } else {
      surface->Flush();
    }
    state.PauseTiming();
    exchange.TakeChanges(changed);
    changes += CountTiles(changed);
    state.ResumeTiming();
  }
  const double passes = static_cast<double>(state.iterations()) * tiles;
  if (!wholeFrame) state.counters["drawn_share"] = drawn / passes;  // otherwise nothing clears the marks
  state.counters["changed_share"] = changes / passes;
  kBezierOperations.free(&slot);
  slot.dc = nullptr;
}
void BM_FlushAfterBezierPass(benchmark::State& state) { FlushAfterBezierPasses(state, false); }
void BM_CompareWholeFrameAfterBezierPass(benchmark::State& state) { FlushAfterBezierPasses(state, true); }
BENCHMARK(BM_FlushAfterBezierPass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareWholeFrameAfterBezierPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

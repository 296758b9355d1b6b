// Pattern frame passes at 1920x1080, without pacing (no exchange or clock
// attached). The image duration is 0 so that every pass draws its three rings
// instead of waiting between pictures; everything else is at its default.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/pattern.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kType = 2, kImageDuration = 3, kXTiling = 10, kYTiling = 11 };

void RunPatternFrames(benchmark::State& state, int tiling, int type) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModulePattern);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kImageDuration] = 0;
  slot.controls.value[kType] = type;
  slot.controls.value[kXTiling] = tiling;
  slot.controls.value[kYTiling] = tiling;
  SeedRandom(12345);
  kPatternOperations.allocate(&slot);
  kPatternOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kPatternOperations.frame(&slot));
  kPatternOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_PatternFrameDefaults(benchmark::State& state) { RunPatternFrames(state, 1, 21); }
void BM_PatternFrameTiled8x8(benchmark::State& state) { RunPatternFrames(state, 8, 21); }
// The costliest generator: a wave-table sum per pixel.
void BM_PatternFrameWaveSumGenerator(benchmark::State& state) { RunPatternFrames(state, 1, 7); }

BENCHMARK(BM_PatternFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PatternFrameTiled8x8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PatternFrameWaveSumGenerator)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

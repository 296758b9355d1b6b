// Plasma frame passes at 1920x1080, without pacing (no exchange or clock attached).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/plasma.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum { kXTiling = 10, kYTiling = 11 };

void RunPlasmaFrames(benchmark::State& state, int tiling) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(kModulePlasma);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  slot.controls.value[kXTiling] = tiling;
  slot.controls.value[kYTiling] = tiling;
  SeedRandom(12345);
  kPlasmaOperations.allocate(&slot);
  kPlasmaOperations.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(kPlasmaOperations.frame(&slot));
  kPlasmaOperations.free(&slot);
  slot.dc = nullptr;
}

void BM_PlasmaFrameDefaults(benchmark::State& state) { RunPlasmaFrames(state, 1); }
void BM_PlasmaFrameTiled8x8(benchmark::State& state) { RunPlasmaFrames(state, 8); }

// The once-per-cloud work of the finishing frame: blur, then a replacement
// and a swap (effect 17, the costliest), on a full-screen cloud.
void BM_PlasmaFinishingEffect(benchmark::State& state) {
  constexpr int kWidth = 1920, kHeight = 1080;
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(1 + i * 7 % 235);
  const plasma::CloudView cloud{pixels.data(), kWidth, kWidth - 1, kHeight - 1};
  for (auto _ : state) {
    plasma::ApplyEffect(cloud, static_cast<int>(state.range(0)));
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_PlasmaFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlasmaFrameTiled8x8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlasmaFinishingEffect)->Arg(17)->Arg(10)->Arg(7)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

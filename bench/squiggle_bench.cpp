#include "module_frames.h"
#include "modules/squiggle.h"

namespace fluxo {
namespace {

constexpr int kSymmetry = 14;

void BM_SquiggleFrameDefaults(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleSquiggle, kSquiggleOperations, bench::KeepDefaults);
}

void BM_SquiggleFrameSymmetry20(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleSquiggle, kSquiggleOperations,
                         [](ModuleSlot& slot) { slot.controls.value[kSymmetry] = 20; });
}

BENCHMARK(BM_SquiggleFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SquiggleFrameSymmetry20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

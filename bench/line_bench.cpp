#include "module_frames.h"
#include "modules/line.h"

namespace fluxo {
namespace {

constexpr int kSymmetry = 14;

void BM_LineFrameDefaults(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleLine, kLineOperations, bench::KeepDefaults);
}

void BM_LineFrameSymmetry20(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleLine, kLineOperations,
                         [](ModuleSlot& slot) { slot.controls.value[kSymmetry] = 20; });
}

BENCHMARK(BM_LineFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineFrameSymmetry20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

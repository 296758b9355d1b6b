#include "module_frames.h"
#include "modules/whip.h"

namespace fluxo {
namespace {

constexpr int kSymmetry = 1;

void BM_WhipFrameDefaults(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleWhip, kWhipOperations, bench::KeepDefaults);
}

void BM_WhipFrameSymmetry32(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleWhip, kWhipOperations,
                         [](ModuleSlot& slot) { slot.controls.value[kSymmetry] = 32; });
}

BENCHMARK(BM_WhipFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WhipFrameSymmetry32)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo

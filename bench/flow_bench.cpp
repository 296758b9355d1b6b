#include "module_frames.h"
#include "modules/flow.h"

namespace fluxo {
namespace {

enum { kXTiling = 10, kYTiling = 11, kXRotation = 16, kYRotation = 17 };

void BM_FlowFrameDefaults(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleFlow, kFlowOperations, bench::KeepDefaults);
}

// Flow has no symmetry; its costly settings are the rings in space and
// clipped, mirrored tiles.
void BM_FlowFrameInSpace(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleFlow, kFlowOperations, [](ModuleSlot& slot) {
    slot.controls.value[kXRotation] = 30;
    slot.controls.value[kYRotation] = 20;
  });
}

void BM_FlowFrameTiled4x4(benchmark::State& state) {
  bench::RunModuleFrames(state, kModuleFlow, kFlowOperations, [](ModuleSlot& slot) {
    slot.controls.value[kXTiling] = 4;
    slot.controls.value[kYTiling] = 4;
  });
}

BENCHMARK(BM_FlowFrameDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlowFrameInSpace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FlowFrameTiled4x4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fluxo

// A module's frame pass at 1920x1080, without pacing (no exchange or clock attached).
#pragma once
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/builtin_modules.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"

namespace fluxo::bench {

// Runs frames of `module` with its default controls changed by `adjust`.
template <typename Adjust>
void RunModuleFrames(benchmark::State& state, int module, const ModuleOperations& ops, Adjust&& adjust) {
  ClearModuleTable();
  DefineAllControls();
  auto surface = std::make_unique<gdi::FrameSurface>(1920, 1080);
  ModuleSlot& slot = Slot(module);
  slot.width = 1920;
  slot.height = 1080;
  slot.dc = surface.get();
  adjust(slot);
  SeedRandom(12345);
  ops.allocate(&slot);
  ops.initialise(&slot);
  for (auto _ : state) benchmark::DoNotOptimize(ops.frame(&slot));
  ops.free(&slot);
  slot.dc = nullptr;
}

inline void KeepDefaults(ModuleSlot&) {}

}  // namespace fluxo::bench

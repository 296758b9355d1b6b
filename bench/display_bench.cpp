// Loading and saving a display with every module active.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "platform/registry/registry.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

namespace {

// A private settings database, the module table with its definitions, every
// module active with moving sources, and a palette engine without a device.
class FullDisplay {
 public:
  FullDisplay() {
    char pattern[] = "/tmp/fluxo-bench-XXXXXX";
    if (mkdtemp(pattern)) home_ = pattern;
    setenv("FLUXO_HOME", home_.c_str(), 1);
    fluxo::reg::CloseStore();
    fluxo::BuildControlValueNames();
    fluxo::ClearModuleTable();
    for (int i = 0; i < fluxo::kModuleCount; ++i) fluxo::Slot(i).name = fluxo::kModuleNames[i];
    fluxo::DefineAllControls();
    fluxo::SetPlugInLoader([](const char*) { return 1; });
    for (int m = 0; m < fluxo::kModuleCount; ++m) {
      fluxo::SetActive(m, m != fluxo::kModuleSequencer);
      fluxo::ControlBlock& c = fluxo::Slot(m).controls;
      for (int i = 0; i < fluxo::kControlCount; ++i) {
        c.source[i] = i % 3;
        c.rangeHi[i] = c.minValue[i];
      }
    }
    palette_ = fluxo::CreatePaletteEngine(nullptr);
    fluxo::SaveCurrentDisplay("Everything");
  }
  ~FullDisplay() {
    fluxo::DestroyPaletteEngine(palette_);
    fluxo::SetPlugInLoader(nullptr);
    fluxo::reg::CloseStore();
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

 private:
  std::string home_;
  fluxo::PaletteState* palette_ = nullptr;
};

void BM_LoadDisplayEveryModule(benchmark::State& state) {
  FullDisplay display;
  for (auto _ : state) benchmark::DoNotOptimize(fluxo::LoadDisplay("Everything"));
}
BENCHMARK(BM_LoadDisplayEveryModule)->Unit(benchmark::kMillisecond);

void BM_SaveDisplayEveryModule(benchmark::State& state) {
  FullDisplay display;
  for (auto _ : state) fluxo::SaveCurrentDisplay("Everything");
}
BENCHMARK(BM_SaveDisplayEveryModule)->Unit(benchmark::kMillisecond);

}  // namespace

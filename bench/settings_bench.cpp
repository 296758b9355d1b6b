#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/registry/registry.h"
#include "settings/settings_store.h"

namespace {

// A private settings database with the root key in place.
class BenchHome {
 public:
  BenchHome() {
    char pattern[] = "/tmp/fluxo-bench-XXXXXX";
    if (mkdtemp(pattern)) home_ = pattern;
    setenv("FLUXO_HOME", home_.c_str(), 1);
    fluxo::reg::CloseStore();
    fluxo::reg::Key root;
    fluxo::reg::CreateKey(fluxo::reg::Hive::CurrentUser, std::string("Control Panel\\") + fluxo::kRootName, root);
  }
  ~BenchHome() {
    fluxo::reg::CloseStore();
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

 private:
  std::string home_;
};

void BM_ReadSetting(benchmark::State& state) {
  BenchHome home;
  uint32_t speed = 7;
  fluxo::WriteSetting("Speed", fluxo::kRootName, fluxo::reg::kRegBinary, &speed, 4);
  for (auto _ : state) {
    uint32_t value = 0;
    benchmark::DoNotOptimize(fluxo::ReadSetting("Speed", fluxo::kRootName, fluxo::reg::kRegBinary, &value, 4));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ReadSetting);

void BM_WriteSetting(benchmark::State& state) {
  BenchHome home;
  uint32_t value = 0;
  for (auto _ : state) {
    ++value;
    benchmark::DoNotOptimize(fluxo::WriteSetting("Speed", fluxo::kRootName, fluxo::reg::kRegBinary, &value, 4));
  }
}
BENCHMARK(BM_WriteSetting);

}  // namespace

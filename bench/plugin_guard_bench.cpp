// What the fault guard adds to every call into a plug-in.
#include <benchmark/benchmark.h>

#include "modules/plugin_host_guard.h"

namespace fluxo {
namespace {

void Touch(void* context) { benchmark::DoNotOptimize(++*static_cast<int*>(context)); }

void BM_PlugInCallDirect(benchmark::State& state) {
  int counter = 0;
  void (*volatile call)(void*) = &Touch;
  for (auto _ : state) call(&counter);
}
BENCHMARK(BM_PlugInCallDirect);

void BM_PlugInCallGuarded(benchmark::State& state) {
  int counter = 0;
  for (auto _ : state) benchmark::DoNotOptimize(CallWithFaultGuard(&Touch, &counter));
}
BENCHMARK(BM_PlugInCallGuarded);

}  // namespace
}  // namespace fluxo

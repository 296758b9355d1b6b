// Enumerating and exporting a key with as many values as subkeys (16000 of
// each, and 2000 for comparison): each step by index must cost about the
// same at any index, so the time per item must not grow with the key.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"

namespace {

using namespace fluxo::reg;

// A private store holding HKCU\Wide with `entries` values and as many subkeys.
class WideKey {
 public:
  explicit WideKey(int entries) {
    char pattern[] = "/tmp/fluxo-bench-XXXXXX";
    if (mkdtemp(pattern)) home_ = pattern;
    setenv("FLUXO_HOME", home_.c_str(), 1);
    CloseStore();
    InTransaction([this, entries] {
      if (long rc = CreateKey(Hive::CurrentUser, "Wide", key_); rc != kSuccess) return rc;
      for (int i = 0; i < entries; ++i) {
        const std::string name = "Entry" + std::to_string(i * 7919 % entries);
        const uint32_t value = static_cast<uint32_t>(i);
        Key child;
        if (long rc = CreateKey(key_, name, child); rc != kSuccess) return rc;
        if (long rc = SetValue(key_, name, kRegDword, &value, 4); rc != kSuccess) return rc;
      }
      return kSuccess;
    });
  }
  ~WideKey() {
    CloseStore();
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }
  const Key& key() const { return key_; }

 private:
  std::string home_;
  Key key_;
};

void BM_EnumerateValuesAndSubkeys(benchmark::State& state) {
  const auto entries = static_cast<uint32_t>(state.range(0));
  WideKey wide(static_cast<int>(entries));
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (auto _ : state) {
    uint32_t values = 0, subkeys = 0;
    while (EnumValue(wide.key(), values, name, &type, &data) == kSuccess) ++values;
    while (EnumKey(wide.key(), subkeys, name) == kSuccess) ++subkeys;
    if (values != entries || subkeys != entries) state.SkipWithError("entries missing");
  }
  state.SetItemsProcessed(state.iterations() * 2 * entries);
}
BENCHMARK(BM_EnumerateValuesAndSubkeys)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_ExportWideKey(benchmark::State& state) {
  WideKey wide(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string text;
    if (ExportKey(Hive::CurrentUser, "Wide", text) != kSuccess) state.SkipWithError("export failed");
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_ExportWideKey)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

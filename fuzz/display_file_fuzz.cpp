// Feeds arbitrary bytes to the display file import against a private store.
// Whatever a file holds, an import either refuses it or stores something that
// exports and imports again to the very same file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/display_file.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string home = "/tmp/fluxo-fuzz-display-" + std::to_string(getpid());
  setenv("FLUXO_HOME", home.c_str(), 1);
  fluxo::BuildControlValueNames();
  return 0;
}

namespace {

std::vector<uint8_t> Exported(const char* name) {
  std::vector<fluxo::DisplayRecord> records;
  if (!fluxo::CollectDisplayRecords(fluxo::DisplayKeyPath(name), records)) return {};
  return fluxo::SerializeDisplayFile(records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fluxo::ImportReport report = fluxo::ImportDisplayBytes(data, size, "Fuzzed");
  if (report.outcome != fluxo::ImportOutcome::Imported && report.outcome != fluxo::ImportOutcome::ImportedTruncated)
    return 0;
  std::vector<uint8_t> first = Exported("Fuzzed");
  if (first.empty()) return 0;  // a stored value beyond what a file carries
  fluxo::ImportReport again = fluxo::ImportDisplayBytes(first.data(), first.size(), "Again");
  if (again.outcome != fluxo::ImportOutcome::Imported) __builtin_trap();
  if (Exported("Again") != first) __builtin_trap();
  return 0;
}

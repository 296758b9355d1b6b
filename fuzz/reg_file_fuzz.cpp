// Feeds arbitrary bytes to the registry text import against a private store
// and checks what must hold for any input: a refusal names its line and
// leaves the store as it was; what was imported exports again, and importing
// that export changes nothing. Every input is undone afterwards, so each one
// meets the same empty store.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"

namespace {

using namespace fluxo::reg;

constexpr Hive kHives[] = {Hive::CurrentUser, Hive::LocalMachine, Hive::ClassesRoot};

[[noreturn]] void Broken(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

bool StoreIsEmpty() {
  for (Hive hive : kHives) {
    Key root;
    std::string name;
    uint32_t type;
    if (OpenKey(hive, "", root) != kSuccess || EnumKey(root, 0, name) != kErrorNoMoreItems ||
        EnumValue(root, 0, name, &type, nullptr) != kErrorNoMoreItems)
      return false;
  }
  return true;
}

std::string ExportAll(RegFileFormat format) {
  std::string all;
  for (Hive hive : kHives) {
    std::string text;
    if (long rc = ExportKey(hive, "", text, format); rc != kSuccess) Broken("export failed", std::to_string(rc));
    all += text;
  }
  return all;
}

void Check(std::string_view input) {
  std::string error;
  if (!ImportText(input, error)) {
    if (error.rfind("line ", 0) != 0) Broken("a refusal that names no line", error);
    if (!StoreIsEmpty()) Broken("a refused import changed the store", error);
    return;
  }
  // The 8-bit form brings back exactly what was there; the UTF-16 form does
  // so for UTF-8 text only, so it last has to import without a fault.
  const std::string before = ExportAll(RegFileFormat::Regedit4);
  for (RegFileFormat format : {RegFileFormat::Regedit4, RegFileFormat::Version5}) {
    for (Hive hive : kHives) {
      std::string text;
      if (long rc = ExportKey(hive, "", text, format); rc != kSuccess) Broken("export failed", std::to_string(rc));
      if (!ImportText(text, error)) Broken("an export that does not import", error + "\n" + text);
    }
    if (format == RegFileFormat::Regedit4 && ExportAll(RegFileFormat::Regedit4) != before)
      Broken("importing an export changed the store", before);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string home = "/tmp/fluxo-fuzz-reg-" + std::to_string(getpid());
  setenv("FLUXO_HOME", home.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InTransaction([&] {
    Check(std::string_view(reinterpret_cast<const char*>(data), size));
    return kErrorAccessDenied;  // undo whatever the input did
  });
  return 0;
}

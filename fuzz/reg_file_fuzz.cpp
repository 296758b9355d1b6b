// Feeds arbitrary bytes to the registry text import against a private store.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "platform/registry/reg_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string home = "/tmp/fluxo-fuzz-reg-" + std::to_string(getpid());
  setenv("FLUXO_HOME", home.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  fluxo::reg::ImportText(std::string_view(reinterpret_cast<const char*>(data), size), error);
  return 0;
}

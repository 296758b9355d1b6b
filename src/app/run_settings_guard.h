#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/active_value.h"
#include "settings/display_file.h"

namespace fluxo {

// A headless run changes "Active" (the registry's fallback, --display) and the
// display "Testing Current Settings" (--file plays through it, and the file
// test deletes it at the end). This puts both back as they were, whatever
// their size, when the run is over.
class RunSettingsGuard {
 public:
  RunSettingsGuard();
  ~RunSettingsGuard();
  RunSettingsGuard(const RunSettingsGuard&) = delete;
  RunSettingsGuard& operator=(const RunSettingsGuard&) = delete;

 private:
  ActiveValue active_;
  bool testingPresent_ = false;
  std::vector<DisplayRecord> testing_;
};

}  // namespace fluxo

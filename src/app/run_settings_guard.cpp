#include "app/run_settings_guard.h"

#include "platform/registry/registry.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

namespace fluxo {

RunSettingsGuard::RunSettingsGuard() : active_(ReadActiveValue()) {
  testingPresent_ = DisplayExists(kTestingDisplay) &&
                    CollectDisplayRecords(DisplayKeyPath(kTestingDisplay), testing_, nullptr, /*fileLimits=*/false);
}

RunSettingsGuard::~RunSettingsGuard() {
  reg::InTransaction([&]() -> long {
    if (testingPresent_)
      ReplaceDisplay(kTestingDisplay, testing_);
    else
      DeleteDisplay(kTestingDisplay);
    RestoreActiveValue(active_);
    return reg::kSuccess;
  });
}

}  // namespace fluxo

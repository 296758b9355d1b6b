#include "app/run_settings_guard.h"

#include "platform/registry/registry.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

constexpr char kActive[] = "Active";

std::string RootPath() { return std::string("Control Panel\\") + kRootName; }

}  // namespace

RunSettingsGuard::RunSettingsGuard() {
  reg::Key root;
  if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(), root) == reg::kSuccess) {
    uint32_t size = 0;
    if (reg::QueryValue(root, kActive, &activeType_, nullptr, &size) == reg::kSuccess) {
      active_.resize(size);
      activePresent_ = reg::QueryValue(root, kActive, &activeType_, active_.data(), &size) == reg::kSuccess;
      active_.resize(size);
    }
  }
  testingPresent_ = DisplayExists(kTestingDisplay) &&
                    CollectDisplayRecords(DisplayKeyPath(kTestingDisplay), testing_, nullptr, /*fileLimits=*/false);
}

RunSettingsGuard::~RunSettingsGuard() {
  reg::InTransaction([&]() -> long {
    if (testingPresent_)
      ReplaceDisplay(kTestingDisplay, testing_);
    else
      DeleteDisplay(kTestingDisplay);
    reg::Key root;
    if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(), root) != reg::kSuccess) return reg::kSuccess;
    if (activePresent_)
      reg::SetValue(root, kActive, activeType_, active_.data(), static_cast<uint32_t>(active_.size()));
    else
      reg::DeleteValue(root, kActive);
    return reg::kSuccess;
  });
}

}  // namespace fluxo

#include "config/stored_display_mode.h"

#include "platform/registry/registry.h"
#include "settings/settings_store.h"

namespace fluxo::config {

namespace {
constexpr char kDisplayModeValue[] = "DisplayMode";
}  // namespace

std::optional<DisplayModeRecord> ReadStoredDisplayMode() {
  DisplayModeRecord record{};
  if (!ReadSetting(kDisplayModeValue, SettingsKeyName(), reg::kRegBinary, record.data(), kDisplayModeSize))
    return std::nullopt;
  return record;
}

bool StoreDisplayMode(const DisplayModeRecord& record) {
  return WriteSetting(kDisplayModeValue, SettingsKeyName(), reg::kRegBinary, record.data(), kDisplayModeSize) == 1;
}

bool ClearStoredDisplayMode() {
  // Size 0 deletes the value.
  return WriteSetting(kDisplayModeValue, SettingsKeyName(), reg::kRegBinary, nullptr, 0) == 1;
}

}  // namespace fluxo::config

#include "settings/active_value.h"

#include <string>

#include "platform/registry/registry.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

std::string SettingsPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

}  // namespace

ActiveValue ReadActiveValue() {
  ActiveValue value;
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, SettingsPath(), key) != reg::kSuccess) return value;
  uint32_t size = 0;
  // The size may change between the two reads; ask again until it fits.
  while (reg::QueryValue(key, "Active", &value.type, nullptr, &size) == reg::kSuccess) {
    value.bytes.resize(size);
    long rc = reg::QueryValue(key, "Active", &value.type, value.bytes.data(), &size);
    if (rc == reg::kErrorMoreData) continue;
    value.present = rc == reg::kSuccess;
    value.bytes.resize(value.present ? size : 0);
    break;
  }
  return value;
}

void RestoreActiveValue(const ActiveValue& value) {
  reg::Key key;
  if (reg::CreateKey(reg::Hive::CurrentUser, SettingsPath(), key) != reg::kSuccess) return;
  if (value.present)
    reg::SetValue(key, "Active", value.type, value.bytes.data(), static_cast<uint32_t>(value.bytes.size()));
  else
    reg::DeleteValue(key, "Active");
}

}  // namespace fluxo

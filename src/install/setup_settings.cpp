#include "install/setup_settings.h"

#include <cstring>

#include "settings/settings_store.h"

namespace fluxo::install {
namespace {

bool EnsureRoot() {
  reg::Key root;
  return reg::CreateKey(reg::Hive::CurrentUser, std::string("Control Panel\\") + SettingsKeyName(), root) ==
         reg::kSuccess;
}

}  // namespace

std::string ReadSettingText(const char* valueName) {
  char text[4096];
  if (!ReadSetting(valueName, SettingsKeyName(), reg::kRegSz, text, sizeof text - 1)) return {};
  text[sizeof text - 1] = '\0';
  return text;
}

bool WriteSettingText(const char* valueName, const std::string& text) {
  if (!EnsureRoot()) return false;
  return WriteSetting(valueName, SettingsKeyName(), reg::kRegSz, text.c_str(),
                      static_cast<uint32_t>(text.size() + 1)) != 0;
}

bool DeleteSettingValue(const char* valueName) {
  return WriteSetting(valueName, SettingsKeyName(), reg::kRegSz, "", 0);
}

}  // namespace fluxo::install

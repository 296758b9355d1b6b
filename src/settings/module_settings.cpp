#include "settings/module_settings.h"

#include <cstring>

#include "settings/settings_store.h"
#include "settings/stored_values.h"

namespace fluxo {
namespace {

constexpr int32_t kDefaultSense = 10;

}  // namespace

void ReadModulePaths(ModuleSlot& slot, const reg::Key& key) {
  ReadText(key, "Path", slot.path, sizeof slot.path);
  ReadText(key, "PluginPath", slot.pluginPath, sizeof slot.pluginPath);
}

void ReadModuleControls(ModuleSlot& slot, const reg::Key& key) {
  const ControlValueNames& names = ControlNames();
  ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i) {
    if (!c.defined[i]) continue;
    if (!ReadNumber(key, names.control[i], c.value[i])) c.value[i] = c.defaultValue[i];
    if (!ReadNumber(key, names.rangeLo[i], c.rangeLo[i])) c.rangeLo[i] = c.minValue[i];
    if (!ReadNumber(key, names.rangeHi[i], c.rangeHi[i])) c.rangeHi[i] = c.maxValue[i];
    if (!ReadNumber(key, names.check[i], c.source[i])) c.source[i] = kSourceSet;
    if (!ReadNumber(key, names.sense[i], c.sense[i])) c.sense[i] = kDefaultSense;
  }
}

long WriteModuleControls(const ModuleSlot& slot, const reg::Key& key) {
  long rc = reg::kSuccess;
  auto write = [&](const char* name, int32_t value) {
    if (rc == reg::kSuccess) rc = WriteNumber(key, name, value);
  };
  if (slot.path[0]) rc = WriteText(key, "Path", std::string_view(slot.path, strnlen(slot.path, sizeof slot.path)));
  if (rc == reg::kSuccess && slot.pluginPath[0])
    rc = WriteText(key, "PluginPath", std::string_view(slot.pluginPath, strnlen(slot.pluginPath, sizeof slot.pluginPath)));
  const ControlValueNames& names = ControlNames();
  const ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount && rc == reg::kSuccess; ++i) {
    if (!c.defined[i]) continue;
    write(names.check[i], c.source[i]);
    if (c.source[i] == kSourceSet) {
      if (c.value[i] != c.defaultValue[i]) write(names.control[i], c.value[i]);
      continue;
    }
    if (c.rangeLo[i] != c.minValue[i]) write(names.rangeLo[i], c.rangeLo[i]);
    if (c.rangeHi[i] != c.maxValue[i]) write(names.rangeHi[i], c.rangeHi[i]);
    if (c.source[i] >= kSourceOscillate) write(names.sense[i], c.sense[i]);
  }
  return rc;
}

}  // namespace fluxo

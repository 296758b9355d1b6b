#include "engine/module_registry.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/render_thread.h"
#include "modules/builtin_modules.h"
#include "palette/palette_engine.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

void LoadActiveDisplay() {
  char savedPath[300];
  std::snprintf(savedPath, sizeof savedPath, "Control Panel\\%s\\Saved", SettingsKeyName());
  if (!KeyExists(savedPath)) CreatePresetDisplays();

  if (!LoadDisplay(kSoundSettingsDisplay)) CreatePresetDisplay(kModuleCount, kSoundSettingsDisplay, kEffectRandom);

  // A preview of a chosen display; one that does not load plays "Active".
  const std::string& chosen = Overrides().display;
  if (!chosen.empty() && LoadDisplay(chosen.c_str())) return;

  char active[128];
  ReadSetting("Active", SettingsKeyName(), reg::kRegSz, active, sizeof active);
  active[sizeof active - 1] = '\0';
  if (!LoadDisplay(active)) {
    LoadDisplay(kSoundSettingsDisplay);
    WriteSetting("Active", SettingsKeyName(), reg::kRegSz, kSoundSettingsDisplay,
                 static_cast<uint32_t>(std::strlen(kSoundSettingsDisplay) + 1));
  }
}

}  // namespace

void InitialiseModuleRegistry() {
  SetOptionDefaults();
  ModuleTable& table = Modules();
  for (int i = 0; i < kModuleCount; ++i) {
    table.slots[i].name = kModuleNames[i];
    table.slots[i].paletteState = CurrentPalette();
  }
  DefineAllControls();
  // Saving a display (the presets on a first run) writes the main settings
  // too: they must be the stored ones, not the defaults.
  LoadMainSettings();
  LoadActiveDisplay();
  LoadMainSettings();

  bool anyActive = false;
  for (int i = 0; i < kModuleCount; ++i) anyActive = anyActive || IsActive(i);
  if (!anyActive) SetActive(kModuleRandom, true);

  MarkSoundCapableControls();
  for (int i = 0; i < kModuleCount; ++i) {
    if (i == kModulePlugIn || i == kModuleSequencer) continue;
    if (const ModuleOperations* ops = BuiltinModuleOperations(i))
      InstallModuleOperations(i, ops->frame, ops->allocate, ops->initialise, ops->free);
  }
  for (ModuleSlot& slot : table.slots) ClampControls(slot);
}

}  // namespace fluxo

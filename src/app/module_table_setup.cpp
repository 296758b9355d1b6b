#include "app/module_table_setup.h"

#include "engine/module_registry.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"

namespace fluxo {

void PrepareModuleTable() {
  BuildControlValueNames();
  ClearModuleTable();
  for (int i = 0; i < kModuleCount; ++i) Slot(i).name = kModuleNames[i];
  DefineAllControls();
  MarkSoundCapableControls();
  LoadMainSettings();
}

}  // namespace fluxo

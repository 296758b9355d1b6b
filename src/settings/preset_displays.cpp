#include <memory>
#include <string>

#include "engine/module_registry.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

constexpr int kPresetModules = 9;  // Bezier to Vortex

long MakePreset(int moduleIndex, const char* prefix, int effect) {
  std::string name = std::string(prefix) + " ";
  int module = moduleIndex;
  if (moduleIndex >= kModuleCount) {
    // Beyond the last module: a Random display named by the prefix alone.
    name = prefix;
    module = kModuleRandom;
    SetActive(kModuleRandom, true);
    Main().showInfo = 1;
  } else {
    name += kModuleNames[moduleIndex];
  }
  DeleteDisplay(name.c_str());
  if (long rc = SaveModuleSettings(Slot(module), name.c_str()); rc != reg::kSuccess) return rc;
  auto palette = std::make_unique<PaletteState>();
  ResetPaletteSettings(*palette);
  for (auto& channelEffect : palette->effect) channelEffect.store(effect);
  if (long rc = SavePaletteSettings(*palette, name.c_str()); rc != reg::kSuccess) return rc;
  return SaveDisplayHeader(name.c_str());
}

}  // namespace

void CreatePresetDisplay(int moduleIndex, const char* prefix, int effect) {
  if (!prefix || moduleIndex < 0) return;
  reg::InTransaction([&] { return MakePreset(moduleIndex, prefix, effect); });
}

void CreatePresetDisplays() {
  reg::InTransaction([] {
    for (int m = 0; m < kPresetModules; ++m)
      if (long rc = MakePreset(m, kPresetPrefix, m == kModuleStar ? kEffectRamp : kEffectRandom); rc != reg::kSuccess)
        return rc;
    return reg::kSuccess;
  });
}

void EnsureStartupDisplays() {
  reg::InTransaction([] {
    if (!KeyExists(SavedKeyPath().c_str())) CreatePresetDisplays();
    if (!DisplayExists(kSoundSettingsDisplay)) CreatePresetDisplay(kModuleCount, kSoundSettingsDisplay, kEffectRandom);
    return reg::kSuccess;
  });
}

}  // namespace fluxo

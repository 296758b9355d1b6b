#include "settings/saved_displays.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "engine/module_registry.h"
#include "engine/saver_state.h"
#include "platform/registry/key_names.h"
#include "settings/display_palette.h"
#include "settings/main_settings.h"
#include "settings/module_settings.h"
#include "settings/sequence_items.h"
#include "settings/settings_store.h"
#include "settings/stored_values.h"
#include "sound/sound_feed.h"

namespace fluxo {

const char kSoundSettingsDisplay[] = "[R] Saved Sound Settings";
const char kTestingDisplay[] = "Testing Current Settings";
const char kPresetPrefix[] = "[D]";

namespace {

constexpr size_t kMaxListed = 1000;
constexpr char kActive[] = "Active";

std::mutex g_currentNameLock;
char g_currentName[kDisplayNameSize] = {};
std::atomic<PlugInLoader> g_plugInLoader{nullptr};

std::string SettingsRootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

std::string ModuleKeyPath(std::string_view display, const char* module) {
  return DisplayKeyPath(display) + "\\Modules\\" + module;
}

void SetCurrentName(const char* name) {
  std::lock_guard lock(g_currentNameLock);
  std::snprintf(g_currentName, sizeof g_currentName, "%s", name);
  if (SoundFeedBlock* feed = SoundFeed()) feed->SetText(feed::kDisplayName, kDisplayNameSize, g_currentName);
}

// Keeps the palette thread out of the palette record while a display loads.
class LoadingFlag {
 public:
  explicit LoadingFlag(PaletteState* palette) {
    if (palette)
      HoldPaletteTicks(*palette);
    else
      Saver().palettePaused.store(1);
  }
  ~LoadingFlag() { ReleasePaletteTicks(); }
  LoadingFlag(const LoadingFlag&) = delete;
  LoadingFlag& operator=(const LoadingFlag&) = delete;
};

// Step 2 of a load: the module keys. Returns false when the plug-in failed.
bool LoadModules(const char* name, bool& anyModule) {
  for (int m = 0; m < kModuleCount; ++m) {
    ModuleSlot& slot = Slot(m);
    reg::Key key;
    if (reg::OpenKey(reg::Hive::CurrentUser, ModuleKeyPath(name, kModuleNames[m]), key) != reg::kSuccess) {
      SetActive(m, false);
    } else if (m == kModuleSequencer) {
      anyModule = true;
      ReadSequenceItems(key);
      // A sequence display runs nothing of its own before the Sequencer.
      for (int i = 0; i < kModuleCount; ++i) SetActive(i, i == kModuleSequencer);
    } else {
      anyModule = true;
      SetActive(m, true);
      ReadModulePaths(slot, key);
      if (m == kModulePlugIn) {
        PlugInLoader loader = g_plugInLoader.load();
        if (!loader || !loader(slot.pluginPath)) return false;
      }
      ReadModuleControls(slot, key);
    }
    ClampControls(slot);
  }
  return true;
}

// Without a storable name the palette is reset and nothing is read.
void LoadPalette(const char* name, bool storable) {
  PaletteState* palette = CurrentPalette();
  if (!palette) return;
  ResetPaletteSettings(*palette);
  reg::Key key;
  if (storable && reg::OpenKey(reg::Hive::CurrentUser, DisplayKeyPath(name) + "\\Palette", key) == reg::kSuccess)
    ReadPaletteValues(*palette, key);
}

void LoadHeader(const char* name) {
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, DisplayKeyPath(name), key) != reg::kSuccess) return;
  int32_t clearFirst = static_cast<int32_t>(Main().clearFirst);
  ReadNumberOr(key, "ClearFirst", clearFirst);
  Main().clearFirst = static_cast<uint32_t>(clearFirst);
}

long SaveDisplay(const char* name) {
  DeleteDisplay(name);
  for (int m = 0; m < kModuleCount; ++m)
    if (IsActive(m))
      if (long rc = SaveModuleSettings(Slot(m), name); rc != reg::kSuccess) return rc;
  if (const PaletteState* palette = CurrentPalette())
    if (long rc = SavePaletteSettings(*palette, name); rc != reg::kSuccess) return rc;
  if (long rc = SaveDisplayHeader(name); rc != reg::kSuccess) return rc;
  return WriteActiveDisplay(name);
}

}  // namespace

bool IsStorableDisplayName(std::string_view name) {
  return !name.empty() && name.size() < kDisplayNameSize && name.find('\\') == std::string_view::npos &&
         reg::names::IsStorableName(name);
}

std::string SavedKeyPath() { return SettingsRootPath() + "\\Saved"; }

std::string DisplayKeyPath(std::string_view name) { return SavedKeyPath() + "\\" + std::string(name); }

bool DisplayExists(std::string_view name) {
  return IsStorableDisplayName(name) && KeyExists(DisplayKeyPath(name).c_str());
}

int LoadDisplay(const char* name) {
  if (!name) name = "";
  LoadingFlag loading(CurrentPalette());
  std::this_thread::yield();
  SetCurrentName(name);
  // A name that cannot be a display key (empty, or a path) finds no modules.
  const bool storable = IsStorableDisplayName(name);
  bool anyModule = false;
  if (!storable) {
    for (int m = 0; m < kModuleCount; ++m) {
      SetActive(m, false);
      ClampControls(Slot(m));
    }
  } else if (!LoadModules(name, anyModule)) {
    return 0;
  }
  LoadPalette(name, storable);
  if (storable) LoadHeader(name);
  ApplySoundAvailability();
  return anyModule ? 1 : 0;
}

std::string CurrentDisplayName() {
  std::lock_guard lock(g_currentNameLock);
  return g_currentName;
}

void SaveCurrentDisplay(const char* name) {
  if (!name || !*name || !IsStorableDisplayName(name)) return;
  reg::InTransaction([&] { return SaveDisplay(name); });
}

long SaveModuleSettings(const ModuleSlot& slot, const char* name) {
  if (!name || !IsStorableDisplayName(name) || !slot.name) return reg::kErrorBadKey;
  return reg::InTransaction([&]() -> long {
    reg::Key key;
    if (long rc = reg::CreateKey(reg::Hive::CurrentUser, ModuleKeyPath(name, slot.name), key); rc != reg::kSuccess)
      return rc;
    if (std::strcmp(slot.name, kModuleNames[kModuleSequencer]) == 0) return WriteSequenceItems(key);
    return WriteModuleControls(slot, key);
  });
}

long SavePaletteSettings(const PaletteState& palette, const char* name) {
  if (!name || !IsStorableDisplayName(name)) return reg::kErrorBadKey;
  return reg::InTransaction([&]() -> long {
    reg::Key display;
    if (long rc = reg::CreateKey(reg::Hive::CurrentUser, DisplayKeyPath(name), display); rc != reg::kSuccess)
      return rc;
    long rc = DeleteKeyTree(display, "Palette");
    if (rc != reg::kSuccess && rc != reg::kErrorFileNotFound) return rc;
    reg::Key key;
    if ((rc = reg::CreateKey(display, "Palette", key)) != reg::kSuccess) return rc;
    return WritePaletteValues(palette, key, CaptureColours());
  });
}

long SaveDisplayHeader(const char* name) {
  if (!name || !IsStorableDisplayName(name)) return reg::kErrorBadKey;
  return reg::InTransaction([&]() -> long {
    reg::Key key;
    if (long rc = reg::CreateKey(reg::Hive::CurrentUser, DisplayKeyPath(name), key); rc != reg::kSuccess) return rc;
    if (long rc = WriteNumber(key, "ClearFirst", static_cast<int32_t>(Main().clearFirst)); rc != reg::kSuccess)
      return rc;
    return SaveMainSettings() ? reg::kSuccess : reg::kErrorRegistryIoFailed;
  });
}

int DeleteDisplay(const char* name) {
  if (!name || !IsStorableDisplayName(name)) return 0;
  reg::Key saved;
  if (reg::OpenKey(reg::Hive::CurrentUser, SavedKeyPath(), saved) != reg::kSuccess) return 0;
  return DeleteKeyTree(saved, name) == reg::kSuccess ? 1 : 0;
}

std::vector<std::string> ListDisplays(int* active) {
  if (active) *active = -1;
  std::vector<std::string> names;
  reg::Key saved;
  // A missing "Saved" key lists nothing; creating it here would keep the
  // presets from ever being made.
  if (reg::OpenKey(reg::Hive::CurrentUser, SavedKeyPath(), saved) != reg::kSuccess) return names;
  std::string name;
  for (uint32_t i = 0; names.size() < kMaxListed && reg::EnumKey(saved, i, name) == reg::kSuccess; ++i)
    names.push_back(name);
  const std::string current = reg::names::Fold(ActiveDisplayName());
  for (size_t i = 0; active && i < names.size(); ++i)
    if (reg::names::Fold(names[i]) == current) {
      *active = static_cast<int>(i);
      break;
    }
  return names;
}

bool DisplayHasModule(const char* display, const char* module) {
  if (!display || !module || !IsStorableDisplayName(display)) return false;
  return KeyExists(ModuleKeyPath(display, module).c_str());
}

std::string ActiveDisplayName() {
  reg::Key root;
  std::string name;
  if (reg::OpenKey(reg::Hive::CurrentUser, SettingsRootPath(), root) == reg::kSuccess) ReadText(root, kActive, name);
  return name;
}

long WriteActiveDisplay(std::string_view name) {
  reg::Key root;
  if (long rc = reg::CreateKey(reg::Hive::CurrentUser, SettingsRootPath(), root); rc != reg::kSuccess) return rc;
  return WriteText(root, kActive, name);
}

void SetPlugInLoader(PlugInLoader loader) { g_plugInLoader.store(loader); }

}  // namespace fluxo

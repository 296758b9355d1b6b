#include "app/display_show.h"

#include <iomanip>
#include <memory>

#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "platform/registry/key_names.h"
#include "settings/display_palette.h"
#include "settings/module_settings.h"
#include "settings/saved_displays.h"
#include "settings/sequence_items.h"
#include "settings/stored_values.h"

namespace fluxo {
namespace {

const char* const kEffectNames[] = {"Ramp", "Fade", "Smooth", "Coarse", "Blackout", "Random", "Custom"};
const char* const kChannelNames[kChannels] = {"red", "green", "blue"};

std::string SourceName(int32_t source) {
  static const std::vector<std::string> names = FillSourceList(true);
  if (source >= 0 && static_cast<size_t>(source) < names.size()) return names[source];
  return "source " + std::to_string(source);
}

std::string EffectName(int32_t effect) {
  if (effect >= 0 && effect <= kEffectCustom) return kEffectNames[effect];
  return "effect " + std::to_string(effect);
}

void ShowControls(const ModuleSlot& slot, std::ostream& out) {
  if (slot.path[0]) out << "  Path: " << slot.path << "\n";
  if (slot.pluginPath[0]) out << "  Plug-in: " << slot.pluginPath << "\n";
  const ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i) {
    if (!c.defined[i]) continue;
    out << "  " << std::left << std::setw(18) << c.label[i] << " " << std::setw(10) << SourceName(c.source[i]);
    if (c.source[i] == kSourceSet) {
      out << c.value[i];
    } else {
      out << c.rangeLo[i] << " to " << c.rangeHi[i];
      if (c.source[i] >= kSourceOscillate) out << ", sense " << c.sense[i];
    }
    out << "\n";
  }
}

void ShowSequence(const reg::Key& key, std::ostream& out) {
  CurrentSequence() = SequenceList{};
  ReadSequenceItems(key);
  const SequenceList& list = CurrentSequence();
  out << "Sequencer (" << (list.orderedPlay ? "in order" : "at random") << ")\n";
  for (const SequenceItem& item : list.items)
    out << "  " << item.name << ", " << item.seconds << " s" << (item.clearFirst ? ", clear first" : "") << "\n";
}

void ShowPalette(const std::string& name, std::ostream& out) {
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, DisplayKeyPath(name) + "\\Palette", key) != reg::kSuccess) {
    out << "Palette: none stored (the defaults)\n";
    return;
  }
  auto palette = std::make_unique<PaletteState>();
  ResetPaletteSettings(*palette);
  for (auto& effect : palette->effect) effect.store(kEffectRandom);
  ReadPaletteValues(*palette, key);
  out << "Palette effects:";
  for (int ch = 0; ch < kChannels; ++ch)
    out << (ch ? ", " : " ") << kChannelNames[ch] << " " << EffectName(palette->effect[ch].load());
  out << "\n";
}

}  // namespace

void ShowDisplay(const std::string& name, std::ostream& out) {
  out << "\"" << name << "\"" << (reg::names::Fold(ActiveDisplayName()) == reg::names::Fold(name) ? " (active)" : "") << "\n";
  reg::Key display;
  int32_t clearFirst = 1;
  if (reg::OpenKey(reg::Hive::CurrentUser, DisplayKeyPath(name), display) == reg::kSuccess)
    ReadNumberOr(display, "ClearFirst", clearFirst);
  out << "Clear first: " << (clearFirst ? "yes" : "no") << "\n";
  bool anyModule = false;
  for (int m = 0; m < kModuleCount; ++m) {
    reg::Key key;
    if (reg::OpenKey(reg::Hive::CurrentUser, DisplayKeyPath(name) + "\\Modules\\" + kModuleNames[m], key) !=
        reg::kSuccess)
      continue;
    anyModule = true;
    if (m == kModuleSequencer) {
      ShowSequence(key, out);
      continue;
    }
    ModuleSlot slot = Slot(m);
    ReadModulePaths(slot, key);
    ReadModuleControls(slot, key);
    ClampControls(slot);
    out << kModuleNames[m] << "\n";
    ShowControls(slot, out);
  }
  if (!anyModule) out << "No modules (plays random modules)\n";
  ShowPalette(name, out);
}

}  // namespace fluxo

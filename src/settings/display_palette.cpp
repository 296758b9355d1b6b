#include "settings/display_palette.h"

#include <algorithm>
#include <vector>

#include "controls/controls.h"
#include "settings/display_conversion.h"
#include "settings/stored_values.h"

namespace fluxo {
namespace {

const char* const kChannelWords[kChannels] = {"Red", "Green", "Blue"};
const char* const kEffectNames[kChannels] = {"RedEffect", "GreenEffect", "BlueEffect"};
constexpr char kCustom[] = "Custom";
constexpr size_t kCustomBytes = kPaletteEntries * 3;

// Takes as many whole colours as the value holds; the rest keep theirs.
void ReadCustomColours(PaletteState& palette, const reg::Key& key) {
  uint32_t size = 0;
  if (reg::QueryValue(key, kCustom, nullptr, nullptr, &size) != reg::kSuccess) return;
  std::vector<uint8_t> bytes(size);
  if (size && reg::QueryValue(key, kCustom, nullptr, bytes.data(), &size) != reg::kSuccess) return;
  const size_t colours = std::min<size_t>(size / 3, kPaletteEntries);
  for (size_t j = 0; j < colours; ++j)
    palette.customEntries[j] = {bytes[3 * j], bytes[3 * j + 1], bytes[3 * j + 2], 1};
}

void ReadParameter(PaletteState& palette, const reg::Key& key, int param, int ch) {
  const int slot = ParamSlot(param, ch);
  ReadNumberOr(key, PaletteValueName(param, ch, ""), palette.value[slot]);
  const bool hasLo = ReadNumber(key, PaletteValueName(param, ch, "RangeLo"), palette.rangeLo[slot]);
  const bool hasHi = ReadNumber(key, PaletteValueName(param, ch, "RangeHi"), palette.rangeHi[slot]);
  ReadNumberOr(key, PaletteValueName(param, ch, "Sense"), palette.sense[slot]);
  if (!ReadNumber(key, PaletteValueName(param, ch, "Source"), palette.source[slot])) return;
  // A save leaves out a range end that sits at the group's limit, and the
  // defaults of most groups lie inside the limits: a stored moving source
  // with a missing end means that limit, or a full range would shrink to the
  // default one at every load.
  if (palette.source[slot] == kSourceSet) return;
  if (!hasLo) palette.rangeLo[slot] = palette.minValue[param];
  if (!hasHi) palette.rangeHi[slot] = palette.maxValue[param];
}

long WriteParameter(const PaletteState& palette, const reg::Key& key, int param, int ch) {
  const int slot = ParamSlot(param, ch);
  const int32_t source = palette.source[slot];
  long rc = WriteNumber(key, PaletteValueName(param, ch, "Source"), source);
  if (rc != reg::kSuccess) return rc;
  if (source == kSourceSet) return WriteNumber(key, PaletteValueName(param, ch, ""), palette.value[slot]);
  if (palette.rangeLo[slot] != palette.minValue[param])
    if ((rc = WriteNumber(key, PaletteValueName(param, ch, "RangeLo"), palette.rangeLo[slot])) != reg::kSuccess)
      return rc;
  if (palette.rangeHi[slot] != palette.maxValue[param])
    if ((rc = WriteNumber(key, PaletteValueName(param, ch, "RangeHi"), palette.rangeHi[slot])) != reg::kSuccess)
      return rc;
  if (source >= kSourceOscillate) rc = WriteNumber(key, PaletteValueName(param, ch, "Sense"), palette.sense[slot]);
  return rc;
}

}  // namespace

std::string PaletteValueName(int param, int channel, const char* suffix) {
  const std::string base = PaletteParamTable(param).baseName;
  if (param == kParamCycleRate) return base + suffix;
  const bool greenSecondsSense = param == kParamSeconds && channel == 1 && std::string_view(suffix) == "Sense";
  return std::string(kChannelWords[greenSecondsSense ? 0 : channel]) + base + suffix;
}

void ReadPaletteValues(PaletteState& palette, const reg::Key& key) {
  ReadNumberOr(key, "AllEffect", palette.allEffect);
  palette.effect[2].store(palette.allEffect);
  palette.effect[1].store(palette.effect[2].load());
  palette.effect[0].store(palette.effect[1].load());
  ReadCustomColours(palette, key);
  for (int ch = 0; ch < kChannels; ++ch) {
    for (int param = 0; param < kPaletteParamCount; ++param) ReadParameter(palette, key, param, ch);
    int32_t effect = palette.effect[ch].load();
    ReadNumberOr(key, kEffectNames[ch], effect);
    palette.effect[ch].store(effect);
  }
  int32_t shifted = 0;
  if (ReadNumber(key, "Shifted", shifted)) ConvertOldPalette(palette, key, shifted != 0);
}

long WritePaletteValues(const PaletteState& palette, const reg::Key& key, bool screenColours) {
  long rc = reg::kSuccess;
  bool custom = false;
  for (const auto& effect : palette.effect) custom = custom || effect.load() == kEffectCustom;
  if (custom) {
    const PaletteEntry* entries = screenColours ? palette.logPalette : palette.customEntries;
    uint8_t bytes[kCustomBytes];
    for (int j = 0; j < kPaletteEntries; ++j) {
      bytes[3 * j] = entries[j].red;
      bytes[3 * j + 1] = entries[j].green;
      bytes[3 * j + 2] = entries[j].blue;
    }
    rc = reg::SetValue(key, kCustom, reg::kRegBinary, bytes, sizeof bytes);
  }
  for (int ch = 0; ch < kChannels && rc == reg::kSuccess; ++ch)
    rc = WriteNumber(key, kEffectNames[ch], palette.effect[ch].load());
  for (int param = 0; param < kPaletteParamCount && rc == reg::kSuccess; ++param)
    for (int ch = 0; ch < kChannels && rc == reg::kSuccess; ++ch) rc = WriteParameter(palette, key, param, ch);
  return rc;
}

}  // namespace fluxo

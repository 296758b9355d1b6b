#include "settings/display_conversion.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "controls/controls.h"
#include "platform/system/random.h"
#include "settings/stored_values.h"

namespace fluxo {
namespace {

const char* const kChannelWords[kChannels] = {"Red", "Green", "Blue"};

// Stored values can be anything; the arithmetic saturates rather than overflow.
int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

void ConvertChannel(PaletteState& palette, const reg::Key& key, bool shifted, int ch) {
  const std::string word = kChannelWords[ch];
  if (shifted) {
    int32_t magnitude = Rand() % 3 + 1;
    palette.rangeLo[ParamSlot(kParamDirection, ch)] = Rand() % 2 ? -magnitude : magnitude;
  }

  const int density = ParamSlot(kParamDensity, ch);
  palette.rangeLo[density] = palette.source[density];
  palette.rangeHi[density] = Saturate(int64_t{palette.rangeLo[density]} + 4);
  palette.source[density] = kSourceRandom;

  int32_t oldSource = 0;
  ReadNumber(key, word + "Source", oldSource);
  if (oldSource >= kSourceOscillate) {
    const int scale = ParamSlot(kParamScale, ch);
    ReadNumberOr(key, word + "Source", palette.source[scale]);
    ReadNumberOr(key, word + "Scale", palette.value[scale]);
    ReadNumberOr(key, word + "ScaleLo", palette.rangeLo[scale]);
    ReadNumberOr(key, word + "ScaleHi", palette.rangeHi[scale]);
    ReadNumberOr(key, word + "Sense", palette.sense[scale]);
  }

  int32_t& rampLo = palette.rangeLo[ParamSlot(kParamRampDecay, ch)];
  rampLo = Saturate(int64_t{rampLo} * 3);

  int32_t together = 0;
  if (ReadNumber(key, "Together", together) && together != 0) {
    int32_t effect = palette.effect[ch].load();
    ReadNumberOr(key, "AllEffect", effect);
    palette.effect[ch].store(effect);
  }
}

}  // namespace

void ConvertOldPalette(PaletteState& palette, const reg::Key& key, bool shifted) {
  for (int ch = 0; ch < kChannels; ++ch) ConvertChannel(palette, key, shifted, ch);
}

}  // namespace fluxo

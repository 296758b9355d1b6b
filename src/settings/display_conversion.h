#pragma once
#include "palette/palette_engine.h"
#include "platform/registry/registry.h"

namespace fluxo {

// Older displays (those with a "Shifted" value) stored the palette in other
// terms: per channel, a random Direction low end when shifted, Density drawn
// from a range, the brightness under "RedSource", "RedScale", "RedScaleLo",
// "RedScaleHi" and "RedSense" (and so on), a finer RampDecay, and with
// "Together" one effect for every channel.
void ConvertOldPalette(PaletteState& palette, const reg::Key& paletteKey, bool shifted);

}  // namespace fluxo

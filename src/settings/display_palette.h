#pragma once
#include <string>

#include "palette/palette_engine.h"
#include "platform/registry/registry.h"

namespace fluxo {

// Value name of a palette parameter field: channel word, group word, suffix
// ("GreenDensityRangeHi"). Two names are irregular and kept so: CycleRate has
// no channel word, and the green Seconds sense is stored as "RedSecondsSense".
std::string PaletteValueName(int param, int channel, const char* suffix);

// Reads a display's palette key into a state already reset to the defaults:
// effects ("AllEffect", then per channel), "Custom", every parameter, and the
// conversion of older displays. Missing values keep what the state holds.
void ReadPaletteValues(PaletteState& palette, const reg::Key& paletteKey);
// Writes the palette into an empty palette key. With `screenColours` the
// custom palette stored is the colours on screen.
long WritePaletteValues(const PaletteState& palette, const reg::Key& paletteKey, bool screenColours);

}  // namespace fluxo

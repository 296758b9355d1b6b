#pragma once
#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"

namespace fluxo::gdi {

// Squared distance between two 0x..RRGGBB colours.
int ColourDistance(uint32_t a, uint32_t b);

// The fixed system slot (0..9, 246..255) nearest to an RGB colour 0x00BBGGRR.
uint8_t NearestFixedPixel(ColorRef rgb);

// The pixel value a colour reference paints with: a palette-index reference
// selects its animated entry, anything else the nearest fixed colour.
uint8_t ResolveColour(ColorRef color);

// The animated entry 0..235 whose current colour is nearest to `argb`.
int NearestAnimatedEntry(const PaletteTable& palette, uint32_t argb);

}  // namespace fluxo::gdi

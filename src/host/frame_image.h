#pragma once
#include <QImage>
#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// A picture (Format_RGB32) of palette-index pixels in the palette's current colours.
QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette);

// True for images whose pixels are 0xFFRRGGBB words, the conversion's output.
bool HoldsRgbWords(const QImage& image);

// Converts rows [first, end) of `width`-wide pixels through a copied colour
// table into the same rows of `image`, which holds RGB words and is at least
// that wide and high.
void ConvertRows(const uint8_t* pixels, int width, int first, int end,
                 const uint32_t (&colours)[gdi::kSystemPaletteSize], QImage& image);

}  // namespace fluxo

#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// A picture (Format_RGB32) of palette-index pixels in the palette's current colours.
QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette);

// True for images whose pixels are 0xFFRRGGBB words, the conversion's output.
bool HoldsRgbWords(const QImage& image);

// Converts the pixels `area` covers, of a frame `width` pixels wide, through
// a copied colour table into the same place of `image`, which holds RGB
// words and holds `area`.
void ConvertArea(const uint8_t* pixels, int width, const QRect& area,
                 const uint32_t (&colours)[gdi::kSystemPaletteSize], QImage& image);

}  // namespace fluxo

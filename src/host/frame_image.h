#pragma once
#include <QImage>
#include <QRegion>
#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// A picture (Format_RGB32) of palette-index pixels in the palette's current colours.
QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette);

// True for images whose pixels are 0xFFRRGGBB words, the conversion's output.
bool HoldsRgbWords(const QImage& image);

// Converts the pixels `area` covers, of a frame `width` pixels wide and at
// least as high as `image`, through a copied colour table into the same
// place of `image`, which holds RGB words; what lies outside the image is
// left out.
void ConvertRegion(const uint8_t* pixels, int width, const QRegion& area,
                   const uint32_t (&colours)[gdi::kSystemPaletteSize], QImage& image);

}  // namespace fluxo

#pragma once
#include <QImage>
#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// A picture (Format_RGB32) of palette-index pixels in the palette's current colours.
QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette);

// Converts pixels through a copied colour table into `image`, which is
// (re)made at the right size and format when it is not.
void ConvertFrame(const uint8_t* pixels, int width, int height, const uint32_t (&colours)[gdi::kSystemPaletteSize],
                  QImage& image);

}  // namespace fluxo

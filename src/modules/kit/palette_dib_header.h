#pragma once
#include <array>
#include <cstdint>

#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// The bitmap header the pixel-buffer modules blit with: 8 bits per pixel,
// uncompressed, and a colour table of palette indices 0..235, so pixels are
// logical palette entries. A positive height means bottom-up rows.
struct PaletteDibHeader {
  static constexpr int kColours = 236;

  uint32_t headerSize = 40;
  gdi::DibInfo info;  // set before each blit to the strip or block being drawn
  uint16_t planes = 1;
  uint16_t bitsPerPixel = 8;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  int32_t xResolution = 0;
  int32_t yResolution = 0;
  uint32_t coloursUsed = kColours;
  uint32_t coloursImportant = 0;
  std::array<uint16_t, kColours> colourTable = IdentityTable();

  void SetSize(int width, int height) { info = {width, height}; }

 private:
  static constexpr std::array<uint16_t, kColours> IdentityTable() {
    std::array<uint16_t, kColours> table{};
    for (int i = 0; i < kColours; ++i) table[i] = static_cast<uint16_t>(i);
    return table;
  }
};

// Bytes per row of a buffer holding more than one row: padded to 4 bytes.
constexpr int DibRowStride(int width) { return (width + 3) & ~3; }

// Blits `count` palette indices as one row, stretched to `width` pixels from (x, y).
void BlitIndexRow(gdi::FrameSurface& surface, PaletteDibHeader& header, int x, int y, int width,
                  const uint8_t* indices, int count);

// Blits `count` palette indices held 4 bytes apart (one-pixel rows padded to
// 4 bytes) as one column, stretched to `height` pixels from (x, y). The rows
// are bottom-up: the first index lands at the bottom.
void BlitIndexColumn(gdi::FrameSurface& surface, PaletteDibHeader& header, int x, int y, int height,
                     const uint8_t* indices, int count);

}  // namespace fluxo::kit

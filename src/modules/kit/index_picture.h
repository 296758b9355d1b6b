#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "modules/kit/source_dib.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// An 8-bit picture whose pixel values are palette indices: rows padded to
// 4 bytes, in memory order (the bottom row first unless top-down), ready for
// a palette-index blit.
struct IndexPicture {
  int32_t width = 0;
  int32_t height = 0;
  bool topDown = false;
  std::vector<uint8_t> pixels;

  size_t Stride() const { return (static_cast<size_t>(width) + 3) & ~size_t{3}; }
  gdi::DibInfo Info() const { return {width, topDown ? -height : height}; }
};

// The grey level nearest to a colour: the entry of a grey table (entry i =
// red, green and blue i) that a colour match picks.
constexpr uint8_t NearestGrey(int red, int green, int blue) {
  return static_cast<uint8_t>((red + green + blue + 1) / 3);
}

// One colour component of a 16- or 32-bit pixel: the bits of `mask` moved
// down to bit 0, cut to their top 8 bits, then scaled to 0..255.
uint8_t MaskedComponent(uint32_t pixel, uint32_t mask);

// Turns a source bitmap into an 8-bit picture. Palette pictures keep their
// pixel values (their colour indices), or with `forceGrey` take the grey
// level of each index's colour; deeper pictures become (red + green + blue) / 3
// of each pixel, 16- and 32-bit ones split by their masks or the default
// 5-5-5 and 8-8-8 masks.
std::optional<IndexPicture> ConvertToIndexPicture(const SourceDib& source, bool forceGrey);

// One smoothing pass in place: each pixel of columns 1..w-3 and rows
// 1..h-3 (memory order), column by column, becomes the integer mean of its
// 3 x 3 neighbourhood, already smoothed neighbours included. Pictures under
// 4 pixels wide or high stay as they are.
void SmoothPicture(IndexPicture& picture);

}  // namespace fluxo::kit

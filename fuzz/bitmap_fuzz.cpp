// Feeds arbitrary bytes to the bitmap file reader and the picture conversion.
// Whatever the bytes, the reader either refuses them or gives a bitmap whose
// pixel rows are all there, and the conversion keeps to the picture's size.
// Pictures of more than a million pixels are only read: converting them
// teaches nothing new and would slow the search down a thousandfold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "modules/kit/bitmap_file.h"
#include "modules/kit/index_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  std::optional<fluxo::kit::SourceDib> dib = fluxo::kit::ParseBitmapFile(bytes);
  if (!dib) return 0;
  if (dib->bits.size() != dib->Stride() * static_cast<size_t>(dib->height)) __builtin_trap();
  if (fluxo::kit::BitmapFileBytesNeeded(bytes.first(std::min(size, fluxo::kit::kBitmapHeaderBytes))) == 0)
    __builtin_trap();
  if (int64_t{dib->width} * dib->height > (int64_t{1} << 20)) return 0;
  for (bool grey : {false, true}) {
    std::optional<fluxo::kit::IndexPicture> picture = fluxo::kit::ConvertToIndexPicture(*dib, grey);
    if (!picture || picture->pixels.size() != picture->Stride() * static_cast<size_t>(picture->height))
      __builtin_trap();
    fluxo::kit::SmoothPicture(*picture);
  }
  return 0;
}

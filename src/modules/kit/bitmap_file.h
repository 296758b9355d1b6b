#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "modules/kit/source_dib.h"

namespace fluxo::kit {

// Reads a bitmap file (".bmp", ".dib", ".rle"): the file header, a core,
// info or later header, optional colour masks, the colour table and the
// pixels, uncompressed (1, 4, 8, 16, 24, 32 bits, bottom-up or top-down) or
// run-length encoded (4 or 8 bits). Anything malformed, truncated or larger
// than kMaxPicturePixels gives nothing; run-length pictures come out as 8 bits
// a pixel.
std::optional<SourceDib> ParseBitmapFile(std::span<const uint8_t> bytes);

// The same from a file, reading no more of it than the picture can need.
std::optional<SourceDib> ReadBitmapFile(const std::string& path);

// How many bytes at the start of a file a picture can need, judged from its
// headers (which lie within kBitmapHeaderBytes); 0 when the headers are bad.
constexpr size_t kBitmapHeaderBytes = 14 + 124 + 16;
size_t BitmapFileBytesNeeded(std::span<const uint8_t> head);

}  // namespace fluxo::kit

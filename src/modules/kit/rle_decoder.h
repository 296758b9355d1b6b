#pragma once
#include <cstdint>
#include <span>

namespace fluxo::kit {

// Expands a run-length encoded bitmap (8 bits, or 4 bits a pixel) into 8-bit
// pixels, one byte each, rows of `stride` bytes with the bottom row first.
// `out` holds stride * height bytes, zero where the stream leaves pixels out.
// False for a stream that runs past a row or the last row, or ends without
// its end-of-bitmap mark.
bool DecodeRle(std::span<const uint8_t> stream, bool fourBit, int32_t width, int32_t height, size_t stride,
               std::span<uint8_t> out);

}  // namespace fluxo::kit

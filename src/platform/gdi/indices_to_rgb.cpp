#include <cstdint>
#include <cstring>

#include "platform/gdi/frame_exchange.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fluxo::gdi {
namespace {

#if defined(__SSE2__)
// Eight colours from the eight indices packed in `word` (lowest byte first),
// stored four to a 16-byte write. Loading the indices as one word leaves the
// load ports to the table, which bounds this loop.
inline void EightColours(uint64_t word, const uint32_t* lookup, uint32_t* out) {
  const auto colour = [&](int shift) { return _mm_cvtsi32_si128(static_cast<int>(lookup[(word >> shift) & 0xFF])); };
  const __m128i low = _mm_unpacklo_epi64(_mm_unpacklo_epi32(colour(0), colour(8)), _mm_unpacklo_epi32(colour(16), colour(24)));
  const __m128i high =
      _mm_unpacklo_epi64(_mm_unpacklo_epi32(colour(32), colour(40)), _mm_unpacklo_epi32(colour(48), colour(56)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), high);
}
#endif

}  // namespace

void IndicesToRgb(const uint8_t* __restrict indices, size_t count, const uint32_t (&table)[256],
                  uint32_t* __restrict out) {
  const uint32_t* lookup = table;
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= count; i += 16) {
    uint64_t words[2];  // little-endian, as every processor with SSE2 is
    std::memcpy(words, indices + i, sizeof words);
    EightColours(words[0], lookup, out + i);
    EightColours(words[1], lookup, out + i + 8);
  }
#endif
  for (; i < count; ++i) out[i] = lookup[indices[i]];
}

void RectIndicesToRgb(const uint8_t* indices, size_t stride, size_t count, int rows, const uint32_t (&table)[256],
                      uint32_t* out, size_t outStride) {
  if (count == 0) return;
  constexpr uintptr_t kLine = 64;
  for (int row = 0; row < rows; ++row) {
    const uintptr_t first = reinterpret_cast<uintptr_t>(indices + stride * row);
    for (uintptr_t line = first & ~(kLine - 1); line < first + count; line += kLine) {
      __builtin_prefetch(reinterpret_cast<const void*>(line));
    }
  }
  for (int row = 0; row < rows; ++row) IndicesToRgb(indices + stride * row, count, table, out + outStride * row);
}

}  // namespace fluxo::gdi

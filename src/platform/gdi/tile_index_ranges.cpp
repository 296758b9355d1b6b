#include "platform/gdi/tile_index_ranges.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fluxo::gdi {
namespace {

constexpr int kTileWidth = ChangedTiles::kTileWidth;
constexpr int kTileHeight = ChangedTiles::kTileHeight;

}  // namespace

void TileIndexRanges::Measure(const uint8_t* pixels, int column, int band) {
  const int x0 = column * kTileWidth, x1 = std::min(width_, x0 + kTileWidth);
  const int y0 = band * kTileHeight, y1 = std::min(height_, y0 + kTileHeight);
  uint8_t lowest = 0xFF, highest = 0;
  int x = x0;
#if defined(__SSE2__)
  // Whole tiles, the common case, in 16-byte vectors.
  if (x1 - x0 == kTileWidth) {
    __m128i low = _mm_set1_epi8(static_cast<char>(0xFF)), high = _mm_setzero_si128();
    for (int y = y0; y < y1; ++y) {
      const uint8_t* row = pixels + static_cast<size_t>(y) * width_ + x0;
      for (int i = 0; i < kTileWidth; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        low = _mm_min_epu8(low, v);
        high = _mm_max_epu8(high, v);
      }
    }
    alignas(16) uint8_t lows[16], highs[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(lows), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(highs), high);
    lowest = *std::min_element(lows, lows + 16);
    highest = *std::max_element(highs, highs + 16);
    x = x1;
  }
#endif
  if (x < x1) {
    for (int y = y0; y < y1; ++y) {
      const uint8_t* row = pixels + static_cast<size_t>(y) * width_;
      for (int i = x; i < x1; ++i) {
        lowest = std::min(lowest, row[i]);
        highest = std::max(highest, row[i]);
      }
    }
  }
  const size_t tile = static_cast<size_t>(band) * columns_ + column;
  lowest_[tile] = lowest;
  highest_[tile] = highest;
}

void TileIndexRanges::Follow(const ChangedTiles& changed) {
  const size_t count = static_cast<size_t>(changed.Columns()) * changed.Bands();
  if (changed.Width() != width_ || changed.Height() != height_) {
    width_ = changed.Width();
    height_ = changed.Height();
    columns_ = changed.Columns();
    lowest_.assign(count, 0);
    highest_.assign(count, 0);
    stale_.assign(count, 1);
    return;
  }
  if (!changed.Any()) return;
  for (int band = 0, bands = changed.Bands(); band < bands; ++band)
    for (int column = 0; column < columns_; ++column)
      if (changed.Marked(column, band)) stale_[static_cast<size_t>(band) * columns_ + column] = 1;
}

void TileIndexRanges::MarkAffected(const uint8_t* pixels, const bool (&changedEntries)[kSystemPaletteSize],
                                   ChangedTiles& tiles) {
  // before[i]: how many entries below i changed, so a range is looked up at once.
  int before[kSystemPaletteSize + 1] = {};
  for (int i = 0; i < kSystemPaletteSize; ++i) before[i + 1] = before[i] + (changedEntries[i] ? 1 : 0);
  if (before[kSystemPaletteSize] == 0) return;
  const bool known = tiles.Width() == width_ && tiles.Height() == height_;
  for (int band = 0, bands = tiles.Bands(); band < bands; ++band) {
    for (int column = 0, columns = tiles.Columns(); column < columns; ++column) {
      const size_t tile = static_cast<size_t>(band) * columns + column;
      if (known && stale_[tile]) {
        Measure(pixels, column, band);
        stale_[tile] = 0;
      }
      if (!known || before[highest_[tile] + 1] > before[lowest_[tile]]) tiles.MarkTile(column, band);
    }
  }
}

}  // namespace fluxo::gdi

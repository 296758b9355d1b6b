#include "platform/gdi/changed_tiles.h"

#include <algorithm>

namespace fluxo::gdi {

void ChangedTiles::Reset(int width, int height, bool changed) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  columns_ = (width_ + kTileWidth - 1) / kTileWidth;
  const int bands = (height_ + kTileHeight - 1) / kTileHeight;
  any_ = changed && columns_ > 0 && bands > 0;
  flags_.assign(static_cast<size_t>(columns_) * bands, any_ ? 1 : 0);
}

std::vector<Rect> ChangedTiles::Rects() const {
  std::vector<Rect> rects;
  if (!any_) return rects;
  size_t previousBand = 0;  // where the rectangles of the band above start
  for (int band = 0, bands = Bands(); band < bands; ++band) {
    const uint8_t* flags = flags_.data() + static_cast<size_t>(band) * columns_;
    const int top = band * kTileHeight;
    const int bottom = std::min(height_, top + kTileHeight);
    const size_t thisBand = rects.size();
    for (int column = 0; column < columns_;) {
      if (!flags[column]) {
        ++column;
        continue;
      }
      const int first = column;
      while (column < columns_ && flags[column]) ++column;
      rects.push_back({first * kTileWidth, top, std::min(width_, column * kTileWidth), bottom});
    }
    // A band spanning what the band right above spans lengthens that band,
    // as a region keeps it: a full screen is one rectangle, not one per band.
    const size_t count = rects.size() - thisBand;
    const bool joins = count > 0 && thisBand - previousBand == count && rects[previousBand].bottom == top &&
                       std::equal(rects.begin() + thisBand, rects.end(), rects.begin() + previousBand,
                                  [](const Rect& a, const Rect& b) { return a.left == b.left && a.right == b.right; });
    if (joins) {
      for (size_t i = previousBand; i < thisBand; ++i) rects[i].bottom = bottom;
      rects.resize(thisBand);
    } else if (count > 0) {
      previousBand = thisBand;
    }
  }
  return rects;
}

}  // namespace fluxo::gdi

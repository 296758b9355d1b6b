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
  for (int band = 0, bands = Bands(); band < bands; ++band) {
    const uint8_t* flags = flags_.data() + static_cast<size_t>(band) * columns_;
    const int top = band * kTileHeight;
    const int bottom = std::min(height_, top + kTileHeight);
    for (int column = 0; column < columns_;) {
      if (!flags[column]) {
        ++column;
        continue;
      }
      const int first = column;
      while (column < columns_ && flags[column]) ++column;
      rects.push_back({first * kTileWidth, top, std::min(width_, column * kTileWidth), bottom});
    }
  }
  return rects;
}

}  // namespace fluxo::gdi

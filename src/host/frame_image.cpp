#include "host/frame_image.h"

#include <algorithm>

#include "platform/gdi/frame_exchange.h"

namespace fluxo {

bool HoldsRgbWords(const QImage& image) {
  switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:  // opaque words are the same premultiplied
      return true;
    default:
      return false;
  }
}

void ConvertRegion(const uint8_t* pixels, int width, const QRegion& area,
                   const uint32_t (&colours)[gdi::kSystemPaletteSize], QImage& image) {
  uchar* bits = image.bits();  // detaches once, not per row
  const qsizetype stride = image.bytesPerLine();
  const int lastX = std::min(width, image.width()) - 1;
  const int lastY = image.height() - 1;
  // The rectangles of a region come in bands of one top and height. A band
  // is converted row by row, each row left to right: memory is then walked
  // forwards, which the processor's prefetching follows, instead of jumping
  // down the rows of one narrow rectangle after another.
  for (auto band = area.begin(); band != area.end();) {
    auto bandEnd = band;
    while (bandEnd != area.end() && bandEnd->top() == band->top()) ++bandEnd;
    for (int y = std::max(0, band->top()); y <= std::min(lastY, band->bottom()); ++y) {
      const uint8_t* row = pixels + static_cast<size_t>(y) * width;
      uint32_t* out = reinterpret_cast<uint32_t*>(bits + stride * y);
      for (auto rect = band; rect != bandEnd; ++rect) {
        const int left = std::max(0, rect->left());
        const int right = std::min(lastX, rect->right());
        if (left <= right) gdi::IndicesToRgb(row + left, static_cast<size_t>(right - left + 1), colours, out + left);
      }
    }
    band = bandEnd;
  }
}

QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette) {
  if (width <= 0 || height <= 0) return QImage();
  QImage image(width, height, QImage::Format_RGB32);
  uint32_t colours[gdi::kSystemPaletteSize];
  palette.CopyTo(colours);
  ConvertRegion(pixels, width, QRegion(image.rect()), colours, image);
  return image;
}

}  // namespace fluxo

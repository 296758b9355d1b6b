#include "host/frame_image.h"

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

void ConvertArea(const uint8_t* pixels, int width, const QRect& area,
                 const uint32_t (&colours)[gdi::kSystemPaletteSize], QImage& image) {
  if (area.isEmpty()) return;
  uchar* rows = image.bits();  // detaches once, not per row
  const qsizetype stride = image.bytesPerLine();
  const size_t count = static_cast<size_t>(area.width());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    gdi::IndicesToRgb(pixels + static_cast<size_t>(y) * width + area.left(), count, colours,
                      reinterpret_cast<uint32_t*>(rows + stride * y) + area.left());
  }
}

QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette) {
  if (width <= 0 || height <= 0) return QImage();
  QImage image(width, height, QImage::Format_RGB32);
  uint32_t colours[gdi::kSystemPaletteSize];
  palette.CopyTo(colours);
  ConvertArea(pixels, width, image.rect(), colours, image);
  return image;
}

}  // namespace fluxo

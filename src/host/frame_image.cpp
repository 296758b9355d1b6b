#include "host/frame_image.h"

#include "platform/gdi/frame_exchange.h"

namespace fluxo {

void ConvertFrame(const uint8_t* pixels, int width, int height, const uint32_t (&colours)[gdi::kSystemPaletteSize],
                  QImage& image) {
  if (image.width() != width || image.height() != height || image.format() != QImage::Format_RGB32) {
    image = QImage(width, height, QImage::Format_RGB32);
  }
  for (int y = 0; y < height; ++y) {
    gdi::IndicesToRgb(pixels + static_cast<size_t>(y) * width, static_cast<size_t>(width), colours,
                      reinterpret_cast<uint32_t*>(image.scanLine(y)));
  }
}

QImage FrameToImage(const uint8_t* pixels, int width, int height, const gdi::PaletteTable& palette) {
  QImage image;
  if (width <= 0 || height <= 0) return image;
  uint32_t colours[gdi::kSystemPaletteSize];
  palette.CopyTo(colours);
  ConvertFrame(pixels, width, height, colours, image);
  return image;
}

}  // namespace fluxo

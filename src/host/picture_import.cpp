#include "host/picture_import.h"

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstring>

#include "modules/kit/picture_loading.h"

namespace fluxo {
namespace {

// Qt refuses to allocate more than this for one picture: the largest the
// slide show takes as 32-bit pixels.
constexpr int kAllocationLimitMb = static_cast<int>(kit::kMaxPicturePixels * 4 / (1024 * 1024));

bool ReadOurselves(const QByteArray& format) { return format == "bmp" || format == "dib" || format == "rle"; }

kit::SourceDib PaletteDib(const QImage& image) {
  kit::SourceDib dib;
  dib.width = image.width();
  dib.height = image.height();
  dib.topDown = true;
  dib.bitsPerPixel = 8;
  for (QRgb colour : image.colorTable())
    dib.colours.push_back({static_cast<uint8_t>(qBlue(colour)), static_cast<uint8_t>(qGreen(colour)),
                           static_cast<uint8_t>(qRed(colour))});
  dib.colours.resize(std::min<size_t>(dib.colours.size(), 256));
  dib.bits.assign(dib.Stride() * static_cast<size_t>(dib.height), 0);
  for (int y = 0; y < dib.height; ++y)
    std::memcpy(dib.bits.data() + static_cast<size_t>(y) * dib.Stride(), image.constScanLine(y),
                static_cast<size_t>(dib.width));
  return dib;
}

// QImage's RGB32 pixels are 0xffRRGGBB words, the layout of a 32-bit bitmap
// with the default masks.
kit::SourceDib TrueColourDib(const QImage& image) {
  kit::SourceDib dib;
  dib.width = image.width();
  dib.height = image.height();
  dib.topDown = true;
  dib.bitsPerPixel = 32;
  dib.bits.resize(dib.Stride() * static_cast<size_t>(dib.height));
  for (int y = 0; y < dib.height; ++y)
    std::memcpy(dib.bits.data() + static_cast<size_t>(y) * dib.Stride(), image.constScanLine(y), dib.Stride());
  return dib;
}

}  // namespace

std::optional<kit::SourceDib> ImportPicture(const std::string& fileName) {
  QImageReader reader(QString::fromStdString(fileName));
  reader.setAllocationLimit(kAllocationLimitMb);
  if (!reader.canRead()) return std::nullopt;
  const QSize announced = reader.size();
  if (announced.isValid() && !kit::PictureSizeAcceptable(announced.width(), announced.height())) return std::nullopt;
  QImage image = reader.read();
  if (image.isNull() || !kit::PictureSizeAcceptable(image.width(), image.height())) return std::nullopt;
  switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
      return PaletteDib(image.convertToFormat(QImage::Format_Indexed8));
    default:
      return TrueColourDib(image.convertToFormat(QImage::Format_RGB32));
  }
}

void InstallPictureImport() { kit::SetPictureImporter(&ImportPicture); }

std::string SupportedFormatsText() {
  std::string text = "*.rle *.dib";
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    if (ReadOurselves(format)) continue;
    text += ", *." + format.toStdString();
  }
  return text;
}

}  // namespace fluxo

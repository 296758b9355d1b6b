#include "host/frame_presenter.h"

#include <algorithm>
#include <iterator>

#include "host/frame_image.h"

namespace fluxo {

FramePresenter::FramePresenter(gdi::FrameExchange& exchange, const gdi::PaletteTable& palette)
    : exchange_(exchange), palette_(palette) {}

QRect FramePresenter::Refresh() {
  const gdi::RowRange rows = exchange_.TakeChangedRows(width_, height_);
  uint32_t colours[gdi::kSystemPaletteSize];
  palette_.CopyTo(colours);
  const bool newColours = !std::equal(std::begin(colours), std::end(colours), std::begin(colours_));
  if (newColours) std::copy(std::begin(colours), std::end(colours), std::begin(colours_));
  if (width_ <= 0 || height_ <= 0) return {};
  if (newColours) return QRect(0, 0, width_, height_);
  return rows.Empty() ? QRect() : QRect(0, rows.first, width_, rows.end - rows.first);
}

bool FramePresenter::PaintInto(QImage& target, const QRect& area) const {
  if (!HoldsRgbWords(target)) return false;
  bool painted = false;
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || width != target.width() || height != target.height()) return;
    const int first = std::max(0, area.top());
    const int end = std::min(height, area.bottom() + 1);
    ConvertRows(pixels, width, first, end, colours_, target);
    painted = true;
  });
  return painted;
}

bool FramePresenter::Draw(QPainter& painter, const QRect& bounds) {
  // Converted under the exchange's lock, scaled after it: scaling is slow and
  // the render thread must not wait for it.
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) {
      unscaled_ = QImage();
      return;
    }
    if (unscaled_.size() != QSize(width, height)) unscaled_ = QImage(width, height, QImage::Format_RGB32);
    ConvertRows(pixels, width, 0, height, colours_, unscaled_);
  });
  if (unscaled_.isNull()) {
    painter.fillRect(bounds, Qt::black);
    return false;
  }
  painter.drawImage(bounds, unscaled_);
  return true;
}

}  // namespace fluxo

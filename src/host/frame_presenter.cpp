#include "host/frame_presenter.h"

#include <QList>
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

bool FramePresenter::Draw(QPainter& painter, const QRect& bounds) const {
  bool drawn = false;
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) {
      painter.fillRect(bounds, Qt::black);
      return;
    }
    drawn = true;
    QImage indexed(pixels, width, height, width, QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(std::begin(colours_), std::end(colours_)));
    painter.drawImage(bounds, indexed);
  });
  return drawn;
}

}  // namespace fluxo

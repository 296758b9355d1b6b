#include "config/swatch_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace fluxo::config {

namespace {
constexpr int kColumns = 16;
constexpr int kRows = 15;
}  // namespace

SwatchGrid::SwatchGrid(const PaletteEntry* entries, const int32_t* selected, const int32_t* stencilled, QWidget* parent)
    : QWidget(parent), entries_(entries), selected_(selected), stencilled_(stencilled) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::StrongFocus);
}

QRect SwatchGrid::CellRect(const QRect& client, int index) {
  // Shrunk by 2 on the left and top, 3 on the right and bottom.
  const int left = client.left() + 2;
  const int top = client.top() + 2;
  const double cellWidth = (client.width() - 5) / static_cast<double>(kColumns);
  const double cellHeight = (client.height() - 5) / static_cast<double>(kRows);
  const int column = index % kColumns;
  const int row = index / kColumns;
  const int x0 = left + static_cast<int>(column * cellWidth);
  const int y0 = top + static_cast<int>(row * cellHeight);
  const int x1 = left + static_cast<int>((column + 1) * cellWidth);
  const int y1 = top + static_cast<int>((row + 1) * cellHeight);
  // Right and bottom edges are exclusive, so neighbouring cells share none.
  return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

int SwatchGrid::HitTest(const QRect& client, const QPoint& point) {
  for (int i = 0; i < kPaletteEntries; ++i)
    if (CellRect(client, i).contains(point)) return i;
  return kPaletteEntries - 1;
}

QSize SwatchGrid::sizeHint() const { return QSize(kColumns * 26 + 5, kRows * 20 + 5); }

QSize SwatchGrid::minimumSizeHint() const { return QSize(kColumns * 10 + 5, kRows * 10 + 5); }

void SwatchGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (int i = 0; i < kPaletteEntries; ++i) {
    const QRect frame = CellRect(rect(), i).adjusted(1, 1, -1, -1);
    painter.setPen(selected_[i] ? Qt::white : Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect fill = frame.adjusted(1, 1, -1, -1);
    painter.fillRect(fill, QColor(entries_[i].red, entries_[i].green, entries_[i].blue));
    if (stencilled_[i]) {
      const QRect mark(fill.left() + fill.width() / 3, fill.top() + fill.height() / 3, fill.width() / 3,
                       fill.height() / 3);
      painter.fillRect(mark, Qt::white);
    }
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().windowText(), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

// The widget keeps the mouse from the press to the release, inside or out.
void SwatchGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT SwatchPressed(SwatchAt(event->position().toPoint()));
}

void SwatchGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if ((event->buttons() & Qt::LeftButton) && rect().contains(point)) Q_EMIT DraggedOver(SwatchAt(point));
}

void SwatchGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT Released();
}

void SwatchGrid::keyPressEvent(QKeyEvent* event) {
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      Q_EMIT KeyStep(-1, extend);
      break;
    case Qt::Key_Right:
      Q_EMIT KeyStep(1, extend);
      break;
    case Qt::Key_Up:
      Q_EMIT KeyStep(-kColumns, extend);
      break;
    case Qt::Key_Down:
      Q_EMIT KeyStep(kColumns, extend);
      break;
    case Qt::Key_Home:
      Q_EMIT KeyStep(-kPaletteEntries, extend);
      break;
    case Qt::Key_End:
      Q_EMIT KeyStep(kPaletteEntries, extend);
      break;
    case Qt::Key_Space:
      Q_EMIT KeyRelease();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
}

}  // namespace fluxo::config

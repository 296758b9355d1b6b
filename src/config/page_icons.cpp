#include "config/page_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fluxo::config {
namespace {

constexpr int kSide = 32;

// A spectrum colour for position i of n, the colours the saver is made of.
QColor Hue(int i, int n) { return QColor::fromHsv(360 * i / n % 360, 220, 235); }

void DrawMonitor(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(3, 4, 26, 19), 2, 2);
  p.drawLine(QPointF(16, 23), QPointF(16, 27));
  p.drawLine(QPointF(10, 28), QPointF(22, 28));
}

void DrawCustomPalette(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      p.setBrush(Hue(row * 4 + column, 16));
      p.drawRect(QRectF(2 + column * 7, 2 + row * 7, 6, 6));
    }
}

void DrawModule(QPainter& p) {
  QPainterPath curve(QPointF(3, 26));
  curve.cubicTo(QPointF(8, -6), QPointF(22, 38), QPointF(29, 5));
  QLinearGradient gradient(0, 0, kSide, 0);
  for (int i = 0; i <= 4; ++i) gradient.setColorAt(i / 4.0, Hue(i, 5));
  p.setPen(QPen(QBrush(gradient), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(curve);
}

void DrawPalette(QPainter& p) {
  for (int band = 0; band < 6; ++band) p.fillRect(QRectF(3, 3 + band * 4.4, 26, 4.4), Hue(band, 6));
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(3, 3, 26, 26.4));
}

void DrawMainSettings(QPainter& p) {
  DrawMonitor(p);
  for (int i = 0; i < 5; ++i) p.fillRect(QRectF(6 + i * 4, 7, 4, 13), Hue(i, 5));
}

void DrawVideoMode(QPainter& p) {
  DrawMonitor(p);
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(8, 13.5), QPointF(24, 13.5));
  p.drawLine(QPointF(8, 13.5), QPointF(11, 10.5));
  p.drawLine(QPointF(8, 13.5), QPointF(11, 16.5));
  p.drawLine(QPointF(24, 13.5), QPointF(21, 10.5));
  p.drawLine(QPointF(24, 13.5), QPointF(21, 16.5));
}

void DrawSound(QPainter& p) {
  p.setPen(Qt::NoPen);
  const int heights[] = {8, 18, 26, 14, 22, 10};
  for (int i = 0; i < 6; ++i) p.fillRect(QRectF(3 + i * 4.6, 29 - heights[i], 3.4, heights[i]), Hue(i, 8));
}

void DrawAuxiliary(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(QColor(235, 235, 235));
  p.drawEllipse(QRectF(4, 4, 24, 24));
  p.drawLine(QPointF(16, 16), QPointF(16, 8));
  p.drawLine(QPointF(16, 16), QPointF(22, 19));
}

void DrawSavedDisplays(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1));
  for (int row = 0; row < 4; ++row) {
    p.setBrush(Hue(row, 4));
    p.drawRect(QRectF(3, 4 + row * 7, 5, 5));
    p.fillRect(QRectF(11, 5.5 + row * 7, 18, 2), QColor(60, 60, 60));
  }
}

}  // namespace

QIcon PageIcon(int iconId) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (iconId) {
    case 102:
      DrawCustomPalette(painter);
      break;
    case 103:
      DrawModule(painter);
      break;
    case 104:
      DrawPalette(painter);
      break;
    case 105:
      DrawMainSettings(painter);
      break;
    case 106:
      DrawVideoMode(painter);
      break;
    case 107:
      DrawSound(painter);
      break;
    case 108:
      DrawAuxiliary(painter);
      break;
    case 109:
      DrawSavedDisplays(painter);
      break;
    default:
      painter.fillRect(QRectF(6, 6, 20, 20), Qt::gray);
      break;
  }
  return QIcon(pixmap);
}

}  // namespace fluxo::config

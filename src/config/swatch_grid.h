#pragma once
#include <QRect>
#include <QWidget>
#include <cstdint>

#include "palette/palette_engine.h"

namespace fluxo::config {

// The 236 colours of the custom palette as a grid of 16 by 15 swatches,
// selected ones framed white, stencilled ones marked with a white square.
// The grid paints what the entries and flags hold at the time; the page
// calls update() after each change. The left button's presses, movements
// inside the grid while it is held, and releases go to the page as signals;
// so do the keys: arrows, Home and End move (with Shift: extend) the
// selection, Space ends it as a release does.
class SwatchGrid : public QWidget {
  Q_OBJECT
 public:
  SwatchGrid(const PaletteEntry* entries, const int32_t* selected, const int32_t* stencilled,
             QWidget* parent = nullptr);

  // The cell of a swatch within the rectangle: its frame, before insetting.
  static QRect CellRect(const QRect& client, int index);
  // The swatch whose cell holds the point; a point in no cell gives 235.
  static int HitTest(const QRect& client, const QPoint& point);
  int SwatchAt(const QPoint& point) const { return HitTest(rect(), point); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 Q_SIGNALS:
  void SwatchPressed(int index);
  void DraggedOver(int index);
  void Released();
  // Move the cursor swatch by `step` (clamped to the grid).
  void KeyStep(int step, bool extend);
  void KeyRelease();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const PaletteEntry* entries_;
  const int32_t* selected_;
  const int32_t* stencilled_;
};

}  // namespace fluxo::config

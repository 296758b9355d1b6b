#pragma once
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <cstdint>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/palette_table.h"
#include "platform/gdi/tile_index_ranges.h"

namespace fluxo {

class GlPresenter;
class XShmPresenter;

// Turns the render thread's frames into the picture the window shows. The
// colours are looked up at every refresh, so a palette tick recolours the
// last frame even when no new one arrived, as on an 8-bit palette display.
// It keeps no pixels of its own: it converts the exchange's newest frame
// straight into the window's image, and only the tiles that changed or that
// show a colour the palette changed.
class FramePresenter {
 public:
  FramePresenter(gdi::FrameExchange& exchange, const gdi::PaletteTable& palette);
  // Looks at the newest frame and the current colours; returns the part of
  // the picture to present again (empty: nothing changed, present nothing).
  QRegion Refresh();
  // Where a shader looks the colours up while drawing, new colours need no
  // tiles presented again, only a redraw: from now on Refresh returns just
  // the tiles whose pixels changed, and ColoursChanged tells of new colours.
  void LookUpColoursWhenDrawing() { recolourTiles_ = false; }
  // Whether the last Refresh found new colours.
  bool ColoursChanged() const { return coloursChanged_; }
  // The size of the frame Refresh saw last.
  QSize FrameSize() const { return QSize(width_, height_); }
  // Converts the pixels of `area` into `target`, an image of the frame's
  // size holding RGB words; false, with nothing drawn, for any other target.
  bool PaintInto(QImage& target, const QRegion& area) const;
  // Sends the pixels of `area` straight to an X window through `x`, when
  // the newest frame has `size` (black before the first frame); false, with
  // nothing sent, for a frame of another size.
  bool SendTo(XShmPresenter& x, const QRegion& area, QSize size) const;
  // Uploads the indices of `area` of the newest frame, at whatever size it
  // has, and the colours to `gl`; before the first frame `gl` shows black.
  void UploadTo(GlPresenter& gl, const QRegion& area) const;
  // Draws the whole picture scaled into `bounds`, or black before the first
  // frame; true when there was a frame. Only windows whose image does not
  // match the frame come here, and only they pay for a picture of its own.
  bool Draw(QPainter& painter, const QRect& bounds);

 private:
  gdi::FrameExchange& exchange_;
  const gdi::PaletteTable& palette_;
  gdi::ChangedTiles changes_;  // kept to reuse its memory
  gdi::TileIndexRanges ranges_;
  int width_ = 0;
  int height_ = 0;
  uint32_t colours_[gdi::kSystemPaletteSize] = {};
  bool recolourTiles_ = true;
  bool coloursChanged_ = false;
  QImage unscaled_;  // the picture Draw scales
};

}  // namespace fluxo

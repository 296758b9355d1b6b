#pragma once
#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// Turns the render thread's frames into the picture the window shows. The
// colours are looked up at every refresh, so a palette tick recolours the
// last frame even when no new one arrived, as on an 8-bit palette display.
class FramePresenter {
 public:
  FramePresenter(const gdi::FrameExchange& exchange, const gdi::PaletteTable& palette);
  // Takes the newest frame (or keeps the last) and the current colours;
  // true when the picture changed.
  bool Refresh();
  // Null until the first frame arrived.
  const QImage& Image() const { return image_; }

 private:
  const gdi::FrameExchange& exchange_;
  const gdi::PaletteTable& palette_;
  uint64_t serial_ = 0;
  std::vector<uint8_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  uint32_t colours_[gdi::kSystemPaletteSize] = {};
  QImage image_;
};

}  // namespace fluxo

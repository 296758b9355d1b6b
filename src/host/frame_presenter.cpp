#include "host/frame_presenter.h"

#include <algorithm>
#include <iterator>

#include "host/frame_image.h"

namespace fluxo {

FramePresenter::FramePresenter(const gdi::FrameExchange& exchange, const gdi::PaletteTable& palette)
    : exchange_(exchange), palette_(palette) {}

bool FramePresenter::Refresh() {
  const bool newFrame = exchange_.TakeIfNewer(serial_, pixels_, width_, height_);
  uint32_t colours[gdi::kSystemPaletteSize];
  palette_.CopyTo(colours);
  const bool newColours = !std::equal(std::begin(colours), std::end(colours), std::begin(colours_));
  if (newColours) std::copy(std::begin(colours), std::end(colours), std::begin(colours_));
  if (width_ <= 0 || height_ <= 0 || (!newFrame && !newColours && !image_.isNull())) return false;
  ConvertFrame(pixels_.data(), width_, height_, colours_, image_);
  return true;
}

}  // namespace fluxo

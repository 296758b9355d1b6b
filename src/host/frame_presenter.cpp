#include "host/frame_presenter.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "host/frame_image.h"
#include "host/gl_presenter.h"
#include "host/x_shm_presenter.h"

namespace fluxo {
namespace {

std::vector<gdi::Rect> RectsOf(const QRegion& area) {
  std::vector<gdi::Rect> rects;
  rects.reserve(static_cast<size_t>(area.rectCount()));
  for (const QRect& r : area) rects.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  return rects;
}

}  // namespace

FramePresenter::FramePresenter(gdi::FrameExchange& exchange, const gdi::PaletteTable& palette)
    : exchange_(exchange), palette_(palette) {}

QRegion FramePresenter::Refresh() {
  exchange_.TakeChanges(changes_);
  width_ = changes_.Width();
  height_ = changes_.Height();
  uint32_t colours[gdi::kSystemPaletteSize];
  palette_.CopyTo(colours);
  bool changedEntries[gdi::kSystemPaletteSize];
  bool newColours = false;
  for (int i = 0; i < gdi::kSystemPaletteSize; ++i) newColours |= changedEntries[i] = colours[i] != colours_[i];
  if (newColours) std::copy(std::begin(colours), std::end(colours), std::begin(colours_));
  coloursChanged_ = newColours;
  if (width_ <= 0 || height_ <= 0) return {};
  if (recolourTiles_) ranges_.Follow(changes_);
  if (newColours && recolourTiles_) {
    exchange_.Read([&](const uint8_t* pixels, int width, int height) {
      if (width == width_ && height == height_) {
        ranges_.MarkAffected(pixels, changedEntries, changes_);
      } else {
        // A frame of another size came in meanwhile: all of it is new.
        changes_.Reset(width_, height_, true);
      }
    });
  }
  if (!changes_.Any()) return {};
  // The tiles come in bands, left to right, joined: the form QRegion keeps,
  // so it takes them as they are instead of merging them one by one.
  const std::vector<gdi::Rect> tiles = changes_.Rects();
  std::vector<QRect> rects;
  rects.reserve(tiles.size());
  for (const gdi::Rect& tile : tiles) rects.emplace_back(tile.left, tile.top, tile.Width(), tile.Height());
  QRegion changed;
  changed.setRects(rects.data(), static_cast<int>(rects.size()));
  return changed;
}

bool FramePresenter::PaintInto(QImage& target, const QRegion& area) const {
  if (!HoldsRgbWords(target)) return false;
  bool painted = false;
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || width != target.width() || height != target.height()) return;
    ConvertRegion(pixels, width, area, colours_, target);
    painted = true;
  });
  return painted;
}

bool FramePresenter::SendTo(XShmPresenter& x, const QRegion& area, QSize size) const {
  const std::vector<gdi::Rect> rects = RectsOf(area);
  bool sent = false;
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) {
      x.Blacken(rects);
      sent = true;
    } else if (QSize(width, height) == size) {
      sent = x.Present(pixels, width, height, rects, colours_);
    }
  });
  return sent;
}

void FramePresenter::UploadTo(GlPresenter& gl, const QRegion& area) const {
  const std::vector<gdi::Rect> rects = RectsOf(area);
  exchange_.Read([&](const uint8_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) {
      gl.ForgetFrame();
    } else {
      gl.Upload(pixels, width, height, rects, colours_);
    }
  });
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
    ConvertRegion(pixels, width, QRegion(unscaled_.rect()), colours_, unscaled_);
  });
  if (unscaled_.isNull()) {
    painter.fillRect(bounds, Qt::black);
    return false;
  }
  painter.drawImage(bounds, unscaled_);
  return true;
}

}  // namespace fluxo

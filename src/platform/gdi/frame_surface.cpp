#include "platform/gdi/frame_surface.h"

#include <algorithm>

#include "platform/gdi/colour_match.h"
#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/surface_rasterizer.h"

namespace fluxo::gdi {

FrameSurface::FrameSurface(int width, int height, std::shared_ptr<PaletteTable> palette)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, kBlackPixel),
      palette_(palette ? std::move(palette) : std::make_shared<PaletteTable>()) {
  drawn_.Reset(width_, height_, true);  // the black start is news to an exchange
}

FrameSurface::~FrameSurface() = default;

uint8_t FrameSurface::PixelOf(ColorRef color) const { return ResolveColour(color); }

Pen FrameSurface::SelectPen(const Pen& pen) { return std::exchange(pen_, pen); }
Brush FrameSurface::SelectBrush(const Brush& brush) { return std::exchange(brush_, brush); }
MixMode FrameSurface::SetMixMode(MixMode mode) { return std::exchange(mix_, mode); }
FillMode FrameSurface::SetPolyFillMode(FillMode mode) { return std::exchange(fillMode_, mode); }

void FrameSurface::SetPixel(int x, int y, ColorRef color) {
  if (x < 0 || x >= width_) return;
  Rasterizer(*this).PaintSpan(y, x, x + 1, Rasterizer::Solid(PixelOf(color)));
}

int FrameSurface::GetNearestEntryAt(int x, int y) const {
  // Like a pixel read, a pixel outside the surface or the clip region has no
  // colour; it reads as entry 0.
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  if (clip_ && !clip_->Contains(x, y)) return 0;
  const int pixel = PixelAt(x, y);
  const int entry = pixel - kFirstAnimatedPixel;
  if (entry >= 0 && entry < kAnimatedEntries) return entry;
  return NearestAnimatedEntry(*palette_, PaletteTable::FixedColour(pixel));
}

void FrameSurface::SelectClipRegion(const Region* region) {
  if (region == nullptr) {
    clip_.reset();
    return;
  }
  clip_ = Region::Combine(*region, Region::FromRect(ClientRect()), CombineMode::And);
}

void FrameSurface::ExcludeClipRect(const Rect& rect) {
  const Region base = clip_ ? *clip_ : Region::FromRect(ClientRect());
  clip_ = Region::Combine(base, Region::FromRect(rect), CombineMode::Diff);
}

void FrameSurface::IntersectClipRect(const Rect& rect) {
  const Region base = clip_ ? *clip_ : Region::FromRect(ClientRect());
  clip_ = Region::Combine(base, Region::FromRect(rect), CombineMode::And);
}

void FrameSurface::AttachPresentation(FrameExchange* exchange, RefreshClock* clock) {
  exchange_ = exchange;
  clock_ = clock;
}

void FrameSurface::Flush() {
  if (exchange_ != nullptr) {
    exchange_->Publish(pixels_.data(), width_, height_, &drawn_);
    drawn_.Reset(width_, height_, false);
  }
  if (clock_ != nullptr) clock_->WaitForNextRefresh();
}

}  // namespace fluxo::gdi

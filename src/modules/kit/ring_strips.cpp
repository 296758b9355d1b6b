#include "modules/kit/ring_strips.h"

#include "modules/kit/pixel_buffers.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {
constexpr int kLastIndex = 235;
constexpr int kSampleSlack = 10;
}  // namespace

void Diffuse(uint8_t* first, int count, int step, int amount) {
  if (amount <= 0) return;
  for (int k = 0; k < count; ++k) {
    uint8_t& v = first[k * step];
    const int sum = v + Rand() % amount;
    v = static_cast<uint8_t>(sum > kLastIndex ? kLastIndex : sum);
  }
}

bool RingStrips::Allocate(int surfaceWidth, int surfaceHeight) {
  const int64_t capacity = int64_t{std::max({surfaceWidth, surfaceHeight, 0})} + 2;
  if (AllocateZeroed(line_, capacity * 4) && AllocateZeroed(samples_, capacity + kSampleSlack)) {
    capacity_ = static_cast<int>(capacity);
    return true;
  }
  Release();
  return false;
}

void RingStrips::Release() {
  std::vector<uint8_t>().swap(line_);
  std::vector<uint8_t>().swap(samples_);
  capacity_ = 0;
}

void RingStrips::BlitRow(gdi::FrameSurface& surface, int x, int y, int width, int count) {
  BlitIndexRow(surface, header_, x, y, width, line_.data(), std::min(count, capacity_));
}

void RingStrips::BlitColumn(gdi::FrameSurface& surface, int x, int y, int height, int count) {
  BlitIndexColumn(surface, header_, x, y, height, line_.data(), std::min(count, capacity_));
}

RingRect RingStrips::Fitted(RingRect ring) const {
  ring.right = std::min(ring.right, ring.left + capacity_ - 1);
  ring.bottom = std::min(ring.bottom, ring.top + capacity_ - 1);
  return ring;
}

void RingStrips::PaintFolded(gdi::FrameSurface& surface, const RingRect& ring, int foldCount) {
  const int width = ring.right - ring.left + 1;
  const int height = ring.bottom - ring.top + 1;
  // Even segments repeat the first segment, odd ones run it backwards.
  auto zigZag = [this](int k, int segment) {
    const int within = k % segment;
    return (k / segment) % 2 == 0 ? samples_[within] : samples_[segment - within];
  };
  const int segmentWidth = (ring.right - ring.left) / foldCount + 1;
  const int segmentHeight = (ring.bottom - ring.top) / foldCount + 1;
  FillRow(width, 0, [&](int k) { return zigZag(k, segmentWidth); });
  BlitRow(surface, ring.left, ring.bottom, width, width);
  surface.BitBlt(ring.left, ring.top, width, 1, ring.left, ring.bottom);
  FillColumn(height, 0, [&](int k) { return zigZag(k, segmentHeight); });
  BlitColumn(surface, ring.left, ring.top, height, height);
  surface.BitBlt(ring.right, ring.top, 1, height, ring.left, ring.top);
}

}  // namespace fluxo::kit

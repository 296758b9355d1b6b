#include <algorithm>
#include <vector>

#include "platform/gdi/frame_surface.h"
#include "platform/gdi/surface_rasterizer.h"

namespace fluxo::gdi {
namespace {

// One axis of a stretch. The destination pixels d, d + 1, ... (or d, d - 1,
// ... for a negative extent) take the source pixels s, s + 1, ... (or
// s, s - 1, ...), nearest neighbour: rows and columns are repeated when
// enlarging and dropped when shrinking.
struct AxisMapping {
  int first = 0;                 // first visible destination coordinate
  std::vector<int32_t> sources;  // per destination coordinate; -1 outside the source
};

AxisMapping MapAxis(int64_t d, int64_t dn, int64_t s, int64_t sn, int destLimit, int sourceLimit) {
  AxisMapping mapping;
  d = ClampCoordinate(d);
  s = ClampCoordinate(s);
  dn = ClampCoordinate(dn);
  sn = ClampCoordinate(sn);
  if (dn == 0 || sn == 0) return mapping;
  const int64_t covered0 = dn > 0 ? d : d + dn + 1;
  const int64_t covered1 = dn > 0 ? d + dn : d + 1;
  const int64_t first = std::max<int64_t>(covered0, 0);
  const int64_t last = std::min<int64_t>(covered1, destLimit);
  if (first >= last) return mapping;
  mapping.first = static_cast<int>(first);
  mapping.sources.reserve(static_cast<size_t>(last - first));
  const int64_t destExtent = dn > 0 ? dn : -dn;
  const int64_t sourceExtent = sn > 0 ? sn : -sn;
  for (int64_t c = first; c < last; ++c) {
    const int64_t step = (dn > 0 ? c - d : d - c) * sourceExtent / destExtent;
    const int64_t source = sn > 0 ? s + step : s - step;
    mapping.sources.push_back(source >= 0 && source < sourceLimit ? static_cast<int32_t>(source) : -1);
  }
  return mapping;
}

// The smallest range holding every valid source coordinate.
bool SourceRange(const AxisMapping& mapping, int32_t& low, int32_t& high) {
  low = INT32_MAX;
  high = -1;
  for (int32_t s : mapping.sources) {
    if (s < 0) continue;
    low = std::min(low, s);
    high = std::max(high, s);
  }
  return high >= 0;
}

}  // namespace

// The common stretch: source pixels pass through `convert` into a temporary
// first, so overlapping copies within one surface behave as if through a
// separate bitmap.
template <class Convert>
void FrameSurface::Rasterizer::StretchFrom(const SourceImage& source, int dx, int dy, int dw, int dh, int sx, int sy,
                                           int sw, int sh, Convert convert) {
  const AxisMapping columns = MapAxis(dx, dw, sx, sw, surface_.width_, source.width);
  const AxisMapping rows = MapAxis(dy, dh, sy, sh, surface_.height_, source.height);
  int32_t x0, x1, y0, y1;
  if (!SourceRange(columns, x0, x1) || !SourceRange(rows, y0, y1)) return;
  const int tempWidth = x1 - x0 + 1;
  std::vector<uint8_t> temp(static_cast<size_t>(tempWidth) * (y1 - y0 + 1));
  for (int32_t y = y0; y <= y1; ++y) {
    const uint8_t* in = source.topRow + y * source.stride + x0;
    uint8_t* out = temp.data() + static_cast<size_t>(y - y0) * tempWidth;
    for (int x = 0; x < tempWidth; ++x) out[x] = convert(in[x]);
  }
  const int columnEnd = columns.first + static_cast<int>(columns.sources.size());
  for (size_t j = 0; j < rows.sources.size(); ++j) {
    const int32_t sourceRow = rows.sources[j];
    if (sourceRow < 0) continue;
    const int y = rows.first + static_cast<int>(j);
    const uint8_t* in = temp.data() + static_cast<size_t>(sourceRow - y0) * tempWidth - x0;
    uint8_t* out = Row(y);
    ForEachVisible(y, columns.first, columnEnd, [&](int a, int b) {
      surface_.drawn_.MarkSpan(y, a, b);
      for (int x = a; x < b; ++x) {
        const int32_t sourceColumn = columns.sources[static_cast<size_t>(x - columns.first)];
        if (sourceColumn >= 0) out[x] = in[sourceColumn];
      }
    });
  }
}

void FrameSurface::BitBlt(int dx, int dy, int width, int height, int sx, int sy) {
  StretchBlt(dx, dy, width, height, *this, sx, sy, width, height);
}

void FrameSurface::StretchBlt(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
  StretchBlt(dx, dy, dw, dh, *this, sx, sy, sw, sh);
}

void FrameSurface::BitBlt(int dx, int dy, int width, int height, const FrameSurface& source, int sx, int sy) {
  StretchBlt(dx, dy, width, height, source, sx, sy, width, height);
}

void FrameSurface::StretchBlt(int dx, int dy, int dw, int dh, const FrameSurface& source, int sx, int sy, int sw,
                              int sh) {
  const SourceImage image{source.pixels_.data(), source.width_, source.width_, source.height_};
  Rasterizer(*this).StretchFrom(image, dx, dy, dw, dh, sx, sy, sw, sh, [](uint8_t v) { return v; });
}

void FrameSurface::StretchDib(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, const uint8_t* bits,
                              const DibInfo& info) {
  if (bits == nullptr || info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return;
  const int64_t stride = (int64_t{info.width} + 3) & ~int64_t{3};
  const int height = info.height > 0 ? info.height : -info.height;
  SourceImage image{bits, stride, info.width, height};
  if (info.height > 0) {
    // Bottom-up rows: walk them top-down, and measure the source rectangle
    // from the top as well (its y is given from the bottom row up).
    image.topRow = bits + (height - 1) * stride;
    image.stride = -stride;
    sy = ClampCoordinate(sh > 0 ? int64_t{height} - sy - sh : int64_t{height} - sy - sh - 2);
  }
  // Pixels are logical palette indices; there are 236 of them.
  Rasterizer(*this).StretchFrom(image, dx, dy, dw, dh, sx, sy, sw, sh,
                                [](uint8_t index) { return PixelOfEntry(std::min<int>(index, kAnimatedEntries - 1)); });
}

}  // namespace fluxo::gdi

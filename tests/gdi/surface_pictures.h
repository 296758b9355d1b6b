#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi::test {

// The surface as text rows: '#' where `marked` holds for the pixel, '.' elsewhere.
inline std::vector<std::string> Picture(const FrameSurface& s, const std::function<bool(uint8_t)>& marked) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) row.push_back(marked(s.PixelAt(x, y)) ? '#' : '.');
    rows.push_back(row);
  }
  return rows;
}

// '#' wherever the pixel is not black.
inline std::vector<std::string> Picture(const FrameSurface& s) {
  return Picture(s, [](uint8_t v) { return v != kBlackPixel; });
}

inline int CountPixels(const FrameSurface& s, uint8_t value) {
  int count = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) count += s.PixelAt(x, y) == value ? 1 : 0;
  }
  return count;
}

// The smallest rectangle holding every pixel of `value` (empty if none).
inline Rect BoundsOf(const FrameSurface& s, uint8_t value) {
  Rect r{s.Width(), s.Height(), 0, 0};
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (s.PixelAt(x, y) != value) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
  }
  return r.Empty() ? Rect{} : r;
}

// Fills the surface with a fixed pseudo-random pattern of pixel values.
inline void Scribble(FrameSurface& s, uint32_t seed = 12345) {
  uint8_t* p = s.MutablePixels();
  for (size_t i = 0; i < static_cast<size_t>(s.Width()) * s.Height(); ++i) {
    seed = seed * 214013u + 2531011u;
    p[i] = static_cast<uint8_t>(seed >> 16);
  }
}

}  // namespace fluxo::gdi::test

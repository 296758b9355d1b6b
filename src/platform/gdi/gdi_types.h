#pragma once
#include <cstdint>

namespace fluxo::gdi {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive, as on the platform.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles (empty when they do not meet).
constexpr Rect IntersectRect(const Rect& a, const Rect& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
          a.bottom < b.bottom ? a.bottom : b.bottom};
}

// The same rectangle with its corners in order (left <= right, top <= bottom).
constexpr Rect NormalizedRect(const Rect& r) {
  return {r.left < r.right ? r.left : r.right, r.top < r.bottom ? r.top : r.bottom, r.left < r.right ? r.right : r.left,
          r.top < r.bottom ? r.bottom : r.top};
}

// Coordinates are kept within the platform's 27-bit device space; beyond it
// they are clamped, so no rasteriser arithmetic can overflow.
constexpr int32_t kCoordinateLimit = 1 << 26;
constexpr int32_t ClampCoordinate(int64_t v) {
  return static_cast<int32_t>(v < -kCoordinateLimit ? -kCoordinateLimit : v > kCoordinateLimit ? kCoordinateLimit : v);
}
constexpr Point ClampPoint(Point p) { return {ClampCoordinate(p.x), ClampCoordinate(p.y)}; }

// A colour reference: 0x01000000 | i selects logical palette entry i (0..235);
// anything else is an RGB value 0x00BBGGRR that selects the nearest fixed colour.
using ColorRef = uint32_t;
constexpr ColorRef PaletteIndex(int index) { return 0x01000000u | static_cast<uint32_t>(index); }
constexpr ColorRef Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);

// System palette layout of the emulated 8-bit display: pixel values 0..9 and
// 246..255 are the 20 fixed colours, 10..245 the 236 animated entries.
constexpr int kSystemPaletteSize = 256;
constexpr int kAnimatedEntries = 236;
constexpr int kFirstAnimatedPixel = 10;
constexpr uint8_t kBlackPixel = 0;
constexpr uint8_t kWhitePixel = 255;
constexpr uint8_t PixelOfEntry(int entry) { return static_cast<uint8_t>(kFirstAnimatedPixel + entry); }

}  // namespace fluxo::gdi

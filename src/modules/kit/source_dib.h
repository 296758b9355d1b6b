#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fluxo::kit {

struct DibColour {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
};

// An uncompressed device-independent bitmap as a file or an import delivers
// it: rows of Stride() bytes in memory order (the bottom row first unless
// top-down), 1, 4, 8, 16, 24 or 32 bits per pixel.
struct SourceDib {
  int32_t width = 0;
  int32_t height = 0;  // rows; the orientation is in topDown
  bool topDown = false;
  uint16_t bitsPerPixel = 0;
  std::vector<DibColour> colours;  // the colour table of a palette picture
  bool hasMasks = false;
  uint32_t masks[3] = {};  // red, green, blue
  std::vector<uint8_t> bits;

  size_t Stride() const { return StrideOf(width, bitsPerPixel); }
  static size_t StrideOf(int64_t width, int bitsPerPixel) {
    return static_cast<size_t>((width * bitsPerPixel + 31) / 32 * 4);
  }
};

// The largest picture the slide show takes on: pictures are held whole in
// memory, up to four bytes a pixel, so a header cannot ask for more.
constexpr int64_t kMaxPictureSide = 32768;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
constexpr bool PictureSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace fluxo::kit

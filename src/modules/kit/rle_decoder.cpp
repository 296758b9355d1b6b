#include "modules/kit/rle_decoder.h"

namespace fluxo::kit {
namespace {

// A cursor over the pixels of the bitmap; every write is checked.
class RleCanvas {
 public:
  RleCanvas(int32_t width, int32_t height, size_t stride, std::span<uint8_t> out)
      : width_(width), height_(height), stride_(stride), out_(out) {}

  bool Put(uint8_t value) {
    if (x_ >= width_ || y_ >= height_) return false;
    out_[static_cast<size_t>(y_) * stride_ + static_cast<size_t>(x_)] = value;
    ++x_;
    return true;
  }
  void NextLine() {
    x_ = 0;
    ++y_;
  }
  bool Move(int dx, int dy) {
    x_ += dx;
    y_ += dy;
    return x_ <= width_ && y_ < height_;
  }

 private:
  int64_t x_ = 0;
  int64_t y_ = 0;
  int32_t width_;
  int32_t height_;
  size_t stride_;
  std::span<uint8_t> out_;
};

// Pixel i of a run: 8-bit runs repeat the byte, 4-bit runs alternate its nibbles.
uint8_t RunPixel(uint8_t byte, bool fourBit, int i) {
  if (!fourBit) return byte;
  return i % 2 == 0 ? static_cast<uint8_t>(byte >> 4) : static_cast<uint8_t>(byte & 0x0F);
}

}  // namespace

bool DecodeRle(std::span<const uint8_t> stream, bool fourBit, int32_t width, int32_t height, size_t stride,
               std::span<uint8_t> out) {
  if (width <= 0 || height <= 0 || out.size() < stride * static_cast<size_t>(height) ||
      stride < static_cast<size_t>(width))
    return false;
  RleCanvas canvas(width, height, stride, out);
  size_t at = 0;
  while (at + 2 <= stream.size()) {
    const uint8_t count = stream[at];
    const uint8_t code = stream[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        if (!canvas.Put(RunPixel(code, fourBit, i))) return false;
      continue;
    }
    switch (code) {
      case 0:
        canvas.NextLine();
        break;
      case 1:
        return true;
      case 2:
        if (at + 2 > stream.size() || !canvas.Move(stream[at], stream[at + 1])) return false;
        at += 2;
        break;
      default: {
        // An absolute run of `code` pixels, padded to a 16-bit boundary.
        const size_t bytes = fourBit ? (code + 1u) / 2u : code;
        if (at + bytes > stream.size()) return false;
        for (int i = 0; i < code; ++i) {
          const uint8_t byte = stream[at + (fourBit ? static_cast<size_t>(i / 2) : static_cast<size_t>(i))];
          if (!canvas.Put(RunPixel(byte, fourBit, i))) return false;
        }
        at += (bytes + 1) & ~size_t{1};
        break;
      }
    }
  }
  return false;
}

}  // namespace fluxo::kit

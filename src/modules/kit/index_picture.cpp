#include "modules/kit/index_picture.h"

#include <bit>

namespace fluxo::kit {
namespace {

constexpr uint32_t kDefault16Masks[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kDefault32Masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// The colour index of pixel x in a row of 1, 4 or 8 bits a pixel.
uint8_t PaletteIndexAt(const uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
      return row[x];
  }
}

uint8_t GreyOfTrueColour(const uint8_t* row, int x, int bits, const uint32_t (&masks)[3]) {
  uint32_t pixel = 0;
  switch (bits) {
    case 24: {
      const uint8_t* p = row + 3 * x;
      return static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
    case 16:
      pixel = static_cast<uint32_t>(row[2 * x] | row[2 * x + 1] << 8);
      break;
    default: {
      const uint8_t* p = row + 4 * x;
      pixel = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
      break;
    }
  }
  return static_cast<uint8_t>(
      (MaskedComponent(pixel, masks[0]) + MaskedComponent(pixel, masks[1]) + MaskedComponent(pixel, masks[2])) / 3);
}

}  // namespace

uint8_t MaskedComponent(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  uint32_t value = (pixel & mask) >> shift;
  int width = std::bit_width(mask >> shift);
  if (width > 8) {
    value >>= width - 8;
    width = 8;
  }
  return static_cast<uint8_t>(value * 255u / ((1u << width) - 1u));
}

std::optional<IndexPicture> ConvertToIndexPicture(const SourceDib& source, bool forceGrey) {
  const int bits = source.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
  if (!PictureSizeAcceptable(source.width, source.height) ||
      source.bits.size() < source.Stride() * static_cast<size_t>(source.height))
    return std::nullopt;
  IndexPicture picture;
  picture.width = source.width;
  picture.height = source.height;
  picture.topDown = source.topDown;
  picture.pixels.assign(picture.Stride() * static_cast<size_t>(picture.height), 0);

  uint8_t greyOfIndex[256] = {};
  for (size_t i = 0; i < source.colours.size() && i < 256; ++i) {
    const DibColour& c = source.colours[i];
    greyOfIndex[i] = NearestGrey(c.red, c.green, c.blue);
  }
  const uint32_t(&defaults)[3] = bits == 16 ? kDefault16Masks : kDefault32Masks;
  uint32_t masks[3];
  for (int i = 0; i < 3; ++i) masks[i] = source.hasMasks ? source.masks[i] : defaults[i];

  for (int32_t y = 0; y < source.height; ++y) {
    const uint8_t* in = source.bits.data() + static_cast<size_t>(y) * source.Stride();
    uint8_t* out = picture.pixels.data() + static_cast<size_t>(y) * picture.Stride();
    for (int32_t x = 0; x < source.width; ++x) {
      if (bits <= 8) {
        const uint8_t index = PaletteIndexAt(in, x, bits);
        out[x] = forceGrey ? greyOfIndex[index] : index;
      } else {
        out[x] = GreyOfTrueColour(in, x, bits, masks);
      }
    }
  }
  return picture;
}

void SmoothPicture(IndexPicture& picture) {
  const int w = picture.width;
  const int h = picture.height;
  if (w < 4 || h < 4) return;
  const size_t stride = picture.Stride();
  uint8_t* p = picture.pixels.data();
  for (int x = 1; x <= w - 3; ++x) {
    for (int y = 1; y <= h - 3; ++y) {
      int sum = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        const uint8_t* row = p + static_cast<size_t>(y + dy) * stride;
        sum += row[x - 1] + row[x] + row[x + 1];
      }
      p[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = static_cast<uint8_t>(sum / 9);
    }
  }
}

}  // namespace fluxo::kit

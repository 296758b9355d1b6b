#include "platform/gdi/text_decode.h"

namespace fluxo::gdi {
namespace {

// The length of a valid UTF-8 sequence at `i` and its code point; 0 if none.
size_t Utf8Sequence(std::string_view text, size_t i, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length;
  char32_t value;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  codePoint = value;
  return length;
}

}  // namespace

std::u32string DecodeText(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t codePoint;
    const size_t length = Utf8Sequence(text, i, codePoint);
    if (length == 0) {
      out.push_back(static_cast<unsigned char>(text[i]));
      ++i;
    } else {
      out.push_back(codePoint);
      i += length;
    }
  }
  return out;
}

}  // namespace fluxo::gdi

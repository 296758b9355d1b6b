#include "tonewell/utf8_cut.h"

namespace fluxo::tonewell {
namespace {

// Length of the character starting at text[at]: 1 for ASCII and for any
// byte that does not start a well-formed sequence.
size_t CharacterLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  if (at + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  return length;
}

}  // namespace

std::string CutUtf8(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + CharacterLength(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

}  // namespace fluxo::tonewell

#include "platform/registry/text_encoding.h"

namespace fluxo::reg::text {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsSurrogate(uint32_t cp) { return cp >= 0xD800 && cp < 0xE000; }

void AppendUnit(std::string& out, uint32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

}  // namespace

bool NextCodePoint(std::string_view s, size_t& at, uint32_t& cp) {
  const auto lead = static_cast<uint8_t>(s[at]);
  size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
  static constexpr uint32_t kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  cp = lead;
  if (length == 0 || at + length > s.size()) {
    ++at;
    return false;
  }
  uint32_t value = lead & kLeadMask[length];
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<uint8_t>(s[at + i]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return false;
    }
    value = value << 6 | (next & 0x3F);
  }
  if (value < kSmallest[length] || value > 0x10FFFF || IsSurrogate(value)) {
    ++at;
    return false;
  }
  cp = value;
  at += length;
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  uint32_t cp;
  for (size_t at = 0; at < utf8.size(); ++count) NextCodePoint(utf8, at, cp);
  return count;
}

std::string FromUtf16Le(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  auto unit = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (IsSurrogate(cp)) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  uint32_t cp;
  for (size_t at = 0; at < utf8.size();) {
    if (!NextCodePoint(utf8, at, cp)) cp = kReplacement;
    if (cp < 0x10000) {
      AppendUnit(out, cp);
    } else {
      AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
      AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16Le(bytes.substr(2));
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return std::string(bytes);
}

}  // namespace fluxo::reg::text

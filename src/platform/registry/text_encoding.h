#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The store keeps all text as UTF-8; files may bring UTF-16LE.
namespace fluxo::reg::text {

// Decodes the UTF-8 sequence at `at` and moves past it. A byte that starts
// no valid sequence (overlong, surrogate, cut short, beyond U+10FFFF) is
// returned alone as `cp` = the byte, with false.
bool NextCodePoint(std::string_view s, size_t& at, uint32_t& cp);
void AppendUtf8(std::string& out, uint32_t cp);

// Characters, not bytes: each odd byte counts as one.
size_t CharacterCount(std::string_view utf8);

// UTF-16LE code units to UTF-8; zeros stay zeros, an unpaired surrogate
// becomes U+FFFD, a last odd byte is dropped.
std::string FromUtf16Le(std::string_view bytes);
// UTF-8 to UTF-16LE code units (no mark); odd bytes become U+FFFD.
std::string ToUtf16Le(std::string_view utf8);

// Text as UTF-8 without a byte order mark: UTF-16LE with its mark (as the
// platform's editor writes export files) is converted, a UTF-8 mark dropped,
// anything else passed through.
std::string ToUtf8(std::string_view bytes);

}  // namespace fluxo::reg::text

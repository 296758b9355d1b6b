#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace fluxo::tonewell {

// The longest start of `text` that fits in `maxBytes` bytes without splitting
// a UTF-8 character. Bytes that are not valid UTF-8 count as one character
// each, so foreign text is cut, never dropped.
std::string CutUtf8(std::string_view text, size_t maxBytes);

}  // namespace fluxo::tonewell

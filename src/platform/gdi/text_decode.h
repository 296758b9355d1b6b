#pragma once
#include <string>
#include <string_view>

namespace fluxo::gdi {

// Text as code points: UTF-8 where the bytes form it, otherwise each byte as
// a Latin-1 character (names and track texts may come in either).
std::u32string DecodeText(std::string_view text);

}  // namespace fluxo::gdi

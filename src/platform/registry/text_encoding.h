#pragma once
#include <string>
#include <string_view>

namespace fluxo::reg::text {

// Text as UTF-8 without a byte order mark: UTF-16LE with its mark (as the
// platform's editor writes export files) is converted, a UTF-8 mark dropped,
// anything else passed through.
std::string ToUtf8(std::string_view bytes);

}  // namespace fluxo::reg::text

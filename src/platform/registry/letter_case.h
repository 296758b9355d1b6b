#pragma once
#include <cstdint>

namespace fluxo::reg::text {

// The upper-case form of one code point, or the code point itself.
uint32_t UpperCase(uint32_t cp);

}  // namespace fluxo::reg::text

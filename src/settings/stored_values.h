#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

namespace fluxo {

// Numbers under the settings key are 4-byte REG_BINARY values; texts are REG_SZ
// with their terminating zero. These helpers read and write them on an open key.

// True when `name` holds a number: a value of at most 4 bytes, zero-extended
// (readers pass a 4-byte buffer, so a longer value does not read).
bool ReadNumber(const reg::Key& key, std::string_view name, int32_t& out);
// Leaves `out` unchanged when the value is missing.
void ReadNumberOr(const reg::Key& key, std::string_view name, int32_t& out);
long WriteNumber(const reg::Key& key, std::string_view name, int32_t value, uint32_t type = reg::kRegBinary);

// Reads a text into a buffer of `size` bytes, always zero-terminated inside it;
// a missing text, or one that does not fit, gives "".
bool ReadText(const reg::Key& key, std::string_view name, char* buffer, uint32_t size);
// Reads a text of any length.
bool ReadText(const reg::Key& key, std::string_view name, std::string& out);
long WriteText(const reg::Key& key, std::string_view name, std::string_view text);

}  // namespace fluxo

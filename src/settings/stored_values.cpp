#include "settings/stored_values.h"

#include <cstring>
#include <vector>

#include "settings/settings_store.h"

namespace fluxo {

bool ReadNumber(const reg::Key& key, std::string_view name, int32_t& out) {
  uint8_t bytes[4] = {};
  uint32_t size = sizeof bytes;
  if (reg::QueryValue(key, name, nullptr, bytes, &size) != reg::kSuccess) return false;
  out = static_cast<int32_t>(DecodeNumber(bytes));
  return true;
}

void ReadNumberOr(const reg::Key& key, std::string_view name, int32_t& out) { ReadNumber(key, name, out); }

long WriteNumber(const reg::Key& key, std::string_view name, int32_t value, uint32_t type) {
  const auto bytes = EncodeNumber(static_cast<uint32_t>(value));
  return reg::SetValue(key, name, type, bytes.data(), 4);
}

bool ReadText(const reg::Key& key, std::string_view name, char* buffer, uint32_t size) {
  if (!buffer || size == 0) return false;
  std::memset(buffer, 0, size);
  uint32_t got = size;
  if (reg::QueryValue(key, name, nullptr, buffer, &got) != reg::kSuccess) {
    std::memset(buffer, 0, size);
    return false;
  }
  buffer[size - 1] = '\0';
  return true;
}

bool ReadText(const reg::Key& key, std::string_view name, std::string& out) {
  uint32_t size = 0;
  if (reg::QueryValue(key, name, nullptr, nullptr, &size) != reg::kSuccess) return false;
  std::vector<char> bytes(size + 1, '\0');
  if (reg::QueryValue(key, name, nullptr, bytes.data(), &size) != reg::kSuccess) return false;
  out.assign(bytes.data());  // up to the first zero
  return true;
}

long WriteText(const reg::Key& key, std::string_view name, std::string_view text) {
  std::string stored(text);
  return reg::SetValue(key, name, reg::kRegSz, stored.c_str(), static_cast<uint32_t>(stored.size() + 1));
}

}  // namespace fluxo

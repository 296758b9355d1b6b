#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/registry/registry.h"

namespace fluxo {

// The settings key "Control Panel\<root>" under the current user's hive and
// the few operations through which the rest of the program reaches it.
extern const char kRootName[];  // "Screen Saver.Fluxo"

struct ControlValueNames {
  char control[30][16];
  char rangeLo[30][16];
  char rangeHi[30][16];
  char check[30][16];
  char sense[30][16];
};

// SettingsKeyName and the per-control value-name tables.
const char* SettingsKeyName();
const ControlValueNames& ControlNames();
void BuildControlValueNames();

int ReadSetting(const char* valueName, const char* rootName, uint32_t type, void* buffer, uint32_t size);
int WriteSetting(const char* valueName, const char* rootName, uint32_t type, const void* data, uint32_t size);
int KeyExists(const char* path);
int RootExists(const char* rootName);
long DeleteKeyTree(const reg::Key& parent, const char* subkeyName);
int WriteMachineString(reg::Hive hive, const char* subkey, const char* valueName, const char* text);
int ReadMachineValue(reg::Hive hive, const char* subkey, const char* valueName, void* buffer, uint32_t size);
// ReadMachineValue for a text: 1 only when the text ends inside the buffer
// (its zero read with it, or room left after it). A value that fills the
// buffer without a zero would run past it: it reads as "" and gives 0.
int ReadMachineText(reg::Hive hive, const char* subkey, const char* valueName, char* buffer, uint32_t size);
uint32_t ReadDword(reg::Hive hive, const char* subkey, const char* valueName);
int WriteDword(reg::Hive hive, const char* subkey, const char* valueName, uint32_t type, uint32_t value);
void PublishVersion(uint32_t major, uint32_t minor, uint32_t build);

// Numbers are stored as 4 little-endian bytes.
inline std::array<uint8_t, 4> EncodeNumber(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}
inline uint32_t DecodeNumber(const uint8_t* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// Convenience for the engine: the text value "Exception" naming where a fault was caught.
void RecordException(const char* place);

}  // namespace fluxo

#pragma once
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
uint32_t ReadDword(reg::Hive hive, const char* subkey, const char* valueName);
int WriteDword(reg::Hive hive, const char* subkey, const char* valueName, uint32_t type, uint32_t value);
void PublishVersion(uint32_t major, uint32_t minor, uint32_t build);

// Convenience for the engine: the text value "Exception" naming where a fault was caught.
void RecordException(const char* place);

}  // namespace fluxo

#include "settings/settings_store.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace fluxo {

const char kRootName[] = "Screen Saver.Fluxo";

namespace {

struct SettingsNames {
  char settingsKey[260];
  ControlValueNames controls;
};

SettingsNames g_names;
std::once_flag g_namesFilled;

// Filled once: readers on other threads may use the tables at any time.
const SettingsNames& Names() {
  std::call_once(g_namesFilled, [] {
    std::snprintf(g_names.settingsKey, sizeof g_names.settingsKey, "%s", kRootName);
    ControlValueNames& c = g_names.controls;
    for (unsigned i = 0; i < 30; ++i) {
      std::snprintf(c.control[i], sizeof c.control[i], "Control%u", i);
      std::snprintf(c.rangeLo[i], sizeof c.rangeLo[i], "RangeLo%u", i);
      std::snprintf(c.rangeHi[i], sizeof c.rangeHi[i], "RangeHi%u", i);
      std::snprintf(c.check[i], sizeof c.check[i], "Check%u", i);
      std::snprintf(c.sense[i], sizeof c.sense[i], "Sense%u", i);
    }
  });
  return g_names;
}

std::string RootPath(const char* rootName) {
  return std::string("Control Panel\\") + (rootName ? rootName : SettingsKeyName());
}

const char* Name(const char* valueName) { return valueName ? valueName : ""; }

}  // namespace

const char* SettingsKeyName() { return Names().settingsKey; }

const ControlValueNames& ControlNames() { return Names().controls; }

void BuildControlValueNames() { Names(); }

int ReadSetting(const char* valueName, const char* rootName, uint32_t /*type: any type is read*/, void* buffer,
                uint32_t size) {
  if (buffer && size) std::memset(buffer, 0, size);
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(rootName), key) != reg::kSuccess) return 0;
  uint32_t got = size;
  return reg::QueryValue(key, Name(valueName), nullptr, buffer, &got) == reg::kSuccess;
}

int WriteSetting(const char* valueName, const char* rootName, uint32_t type, const void* data, uint32_t size) {
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(rootName), key) != reg::kSuccess) return 0;
  if (size == 0) {
    long rc = reg::DeleteValue(key, Name(valueName));
    return rc == reg::kSuccess || rc == reg::kErrorFileNotFound;
  }
  // Unlike the original, a write that did not happen is not reported as done.
  return reg::SetValue(key, Name(valueName), type, data, size) == reg::kSuccess;
}

int KeyExists(const char* path) {
  reg::Key key;
  return path && reg::OpenKey(reg::Hive::CurrentUser, path, key) == reg::kSuccess;
}

int RootExists(const char* rootName) { return KeyExists(RootPath(rootName).c_str()); }

long DeleteKeyTree(const reg::Key& parent, const char* subkeyName) {
  if (!subkeyName || !*subkeyName) return reg::kErrorBadKey;
  return reg::DeleteTree(parent, subkeyName);
}

int WriteMachineString(reg::Hive hive, const char* subkey, const char* valueName, const char* text) {
  reg::Key key;
  if (!subkey || !text || reg::CreateKey(hive, subkey, key) != reg::kSuccess) return 0;
  return reg::SetValue(key, Name(valueName), reg::kRegSz, text, static_cast<uint32_t>(std::strlen(text) + 1)) ==
         reg::kSuccess;
}

int ReadMachineValue(reg::Hive hive, const char* subkey, const char* valueName, void* buffer, uint32_t size) {
  if (buffer && size) std::memset(buffer, 0, size);
  reg::Key key;
  if (!subkey || reg::OpenKey(hive, subkey, key) != reg::kSuccess) return 0;
  uint32_t got = size;
  return reg::QueryValue(key, Name(valueName), nullptr, buffer, &got) == reg::kSuccess;
}

int ReadMachineText(reg::Hive hive, const char* subkey, const char* valueName, char* buffer, uint32_t size) {
  if (!buffer || size == 0) return 0;
  if (!ReadMachineValue(hive, subkey, valueName, buffer, size)) return 0;
  if (std::memchr(buffer, 0, size)) return 1;
  std::memset(buffer, 0, size);
  return 0;
}

uint32_t ReadDword(reg::Hive hive, const char* subkey, const char* valueName) {
  reg::Key key;
  if (!subkey || reg::CreateKey(hive, subkey, key) != reg::kSuccess) return 0;
  uint8_t bytes[4] = {};
  uint32_t size = sizeof bytes;
  if (reg::QueryValue(key, Name(valueName), nullptr, bytes, &size) != reg::kSuccess) return 0;
  return DecodeNumber(bytes);
}

int WriteDword(reg::Hive hive, const char* subkey, const char* valueName, uint32_t type, uint32_t value) {
  reg::Key key;
  if (!subkey || reg::CreateKey(hive, subkey, key) != reg::kSuccess) return 0;
  const auto bytes = EncodeNumber(value);
  return reg::SetValue(key, Name(valueName), type, bytes.data(), 4) == reg::kSuccess;
}

void PublishVersion(uint32_t major, uint32_t minor, uint32_t build) {
  WriteDword(reg::Hive::CurrentUser, "Software\\Fluxo", "Current Version", reg::kRegDword, major << 16 | minor);
  WriteDword(reg::Hive::CurrentUser, "Software\\Fluxo", "Build", reg::kRegDword, build);
}

void RecordException(const char* place) {
  // A fault must leave its trace even before any setting was saved, so the
  // settings key is created when missing.
  reg::Key key;
  if (!place || reg::CreateKey(reg::Hive::CurrentUser, RootPath(nullptr), key) != reg::kSuccess) return;
  reg::SetValue(key, "Exception", reg::kRegSz, place, static_cast<uint32_t>(std::strlen(place) + 1));
}

}  // namespace fluxo

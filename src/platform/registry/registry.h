#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fluxo::reg {

// The three hives of the platform's registry, kept in one SQLite database.
enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// Value types and their platform codes.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

// The platform's error codes.
constexpr long kSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;  // a Key that was never opened
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;
constexpr long kErrorBadKey = 1010;
constexpr long kErrorRegistryIoFailed = 1016;  // the database could not be opened, read or written
constexpr long kErrorKeyDeleted = 1018;

// An open key. Cheap to copy; refers to the key by its row in the store.
struct Key {
  Hive hive = Hive::CurrentUser;
  int64_t id = 0;  // 0: not open
  bool IsOpen() const { return id != 0; }
};

// Keys are paths of names separated by backslashes, case-insensitive and
// case-preserving. An empty path names the hive's root.
long OpenKey(Hive hive, std::string_view path, Key& out);
long OpenKey(const Key& parent, std::string_view subkey, Key& out);
// CreateKey makes every missing level; a path it may not hold (deeper than
// 512 levels below the hive, a name over 255 characters or with a line
// break) is kErrorInvalidParameter and creates nothing.
long CreateKey(Hive hive, std::string_view path, Key& out, bool* created = nullptr);
long CreateKey(const Key& parent, std::string_view subkey, Key& out, bool* created = nullptr);

// Reads into the caller's buffer of *size bytes (data may be null to ask the
// size). Sets *type and *size; a buffer too small gives kErrorMoreData.
long QueryValue(const Key& key, std::string_view name, uint32_t* type, void* data, uint32_t* size);
// A value name over 16383 characters or with a line break is refused (87).
long SetValue(const Key& key, std::string_view name, uint32_t type, const void* data, uint32_t size);
long DeleteValue(const Key& key, std::string_view name);
// Deletes a subkey that has no subkeys of its own (else kErrorAccessDenied).
long DeleteKey(const Key& parent, std::string_view subkey);
// Deletes a subkey with everything below it, in one transaction. An empty
// name is kErrorBadKey and touches nothing.
long DeleteTree(const Key& parent, std::string_view subkey);
// Subkeys in case-insensitive name order; values in creation order. Walking
// the indices upwards costs about the same per step at any index.
long EnumKey(const Key& key, uint32_t index, std::string& name);
long EnumValue(const Key& key, uint32_t index, std::string& name, uint32_t* type, std::vector<uint8_t>* data);

// The key's path below its hive as stored, whatever case it was opened by.
long KeyPath(const Key& key, std::string& path);

// Runs `work` in one transaction (multi-step writes such as a display save).
long InTransaction(const std::function<long()>& work);

// Splits "HKCU\Software\Fluxo" (also HKEY_CURRENT_USER, HKLM, HKEY_LOCAL_MACHINE,
// HKCR, HKEY_CLASSES_ROOT) into hive and path; false for an unknown hive.
bool ParseKeyPath(std::string_view text, Hive& hive, std::string& path);
const char* HiveName(Hive hive);  // "HKEY_CURRENT_USER", ...

// The database file; closes the connection so the next call reopens (tests).
std::string StorePath();
void CloseStore();

}  // namespace fluxo::reg

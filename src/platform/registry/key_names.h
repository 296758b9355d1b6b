#pragma once
#include <string>
#include <string_view>
#include <vector>

// Name rules shared by keys and values.
namespace fluxo::reg::names {

// The platform's limits, in characters: a key name component, a value name,
// and the levels of a key path below its hive.
constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;
constexpr size_t kMaxKeyDepth = 512;

// Names never hold line breaks or zeros: they would break export files.
bool IsStorableName(std::string_view name);

// What keeps `path`, below a key `baseDepth` levels deep, from being
// created ("key path deeper than 512 levels", ...), or nullptr.
const char* KeyPathFault(std::string_view path, size_t baseDepth = 0);
// What keeps `name` from naming a value, or nullptr.
const char* ValueNameFault(std::string_view name);

// The form names are compared and ordered by: every letter upper-cased, so
// "Saved" and "SAVED", "Ärger" and "äRGER" are one name and order as the
// platform orders them. Bytes that are not UTF-8 are kept as they are.
std::string Fold(std::string_view name);

// Splits a backslash-separated path; empty components (doubled, leading or
// trailing separators) are skipped.
std::vector<std::string_view> SplitPath(std::string_view path);

}  // namespace fluxo::reg::names

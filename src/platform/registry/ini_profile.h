#pragma once
#include <optional>
#include <string>
#include <string_view>

// Profile (INI) files such as "SYSTEM.INI", read and written the way the
// platform's private-profile calls do: sections and keys case-insensitive,
// untouched lines kept as they stand.
namespace fluxo::ini {

// A bare file name lives in ConfigFolder(); a name with a slash is a path.
std::string ProfilePath(std::string_view file);

// The value of `key` in `section`, or `fallback` when the file, section or
// key is missing. Surrounding blanks and one pair of enclosing quotes go.
std::string ReadProfileString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view fallback);

// Sets key=value in the section, adding section or key where missing. No
// value deletes the key; no key deletes the whole section. False when the
// file cannot be written or a name or value would break the file's lines.
bool WriteProfileString(std::string_view file, std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value);

}  // namespace fluxo::ini

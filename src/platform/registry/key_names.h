#pragma once
#include <string>
#include <string_view>
#include <vector>

// Name rules shared by keys and values.
namespace fluxo::reg::names {

// Longest key name component, as on the platform.
constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;

// Names never hold line breaks or zeros: they would break export files.
bool IsStorableName(std::string_view name);

// The form names are compared and ordered by: ASCII letters upper-cased,
// so "Saved" and "SAVED" are one name and order as the platform orders them.
std::string Fold(std::string_view name);

// Splits a backslash-separated path; empty components (doubled, leading or
// trailing separators) are skipped.
std::vector<std::string_view> SplitPath(std::string_view path);

}  // namespace fluxo::reg::names

#pragma once
#include <string>

// The settings values setup writes and reads back.
namespace fluxo::install {

// A text value under the settings root; "" when missing.
std::string ReadSettingText(const char* valueName);
// Writes a text value, creating the settings root first (setup may be the
// first to write it).
bool WriteSettingText(const char* valueName, const std::string& text);
bool DeleteSettingValue(const char* valueName);

}  // namespace fluxo::install

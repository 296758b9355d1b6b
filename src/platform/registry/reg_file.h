#pragma once
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

// The platform's text export format ("REGEDIT4" / "Windows Registry Editor
// Version 5.00"): key lines "[HKEY_CURRENT_USER\...]", value lines
// "name"="text", @= for the default value, dword:0000000a, hex:01,02 and
// hex(N):.. with line continuation; [-KEY] and "name"=- delete.
namespace fluxo::reg {

extern const char kRegFileHeader[];   // "Windows Registry Editor Version 5.00"
extern const char kRegFileHeader4[];  // "REGEDIT4"

// What the platform's editors write under each header: version 5 is UTF-16LE
// with its byte order mark, text types in hex as UTF-16LE; REGEDIT4 is 8-bit
// text (the store's UTF-8). Both end lines with CR LF.
enum class RegFileFormat { Version5, Regedit4 };

// The key hive\path and everything below it, named as stored: values in
// creation order, then subkeys in name order. Fails with the registry's code
// (2 for a missing key, 1010 for a tree deeper than a key path may be).
long ExportKey(Hive hive, std::string_view path, std::string& text, RegFileFormat format = RegFileFormat::Version5);

// Applies an export text in one transaction: on any fault nothing changes and
// `error` names the line and the fault. Accepts UTF-8 (with or without a byte
// order mark) and UTF-16LE with its mark, as the platform's editor writes it;
// under the version 5 header, hex(1), hex(2) and hex(7) data is UTF-16LE.
bool ImportText(std::string_view text, std::string& error);

}  // namespace fluxo::reg

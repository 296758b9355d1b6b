#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace fluxo {

// `fluxo reg ...` after the platform's reg tool (args are the words after
// "reg"):
//   query KEY [/v NAME | /ve]
//   add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]
//   delete KEY [/v NAME | /ve] /f
//   export KEY FILE [/y]
//   import FILE
// KEY is HKCU\..., HKLM\... or HKCR\... (or the HKEY_... forms). There is no
// prompt, so overwriting a value or deleting needs /f, and exporting onto an
// existing file needs /y. Export writes a version 5 file (UTF-16LE); import
// reads that and REGEDIT4. Returns the exit code: 0 done; 1 refused or
// failed, with one line on `err` and nothing changed.
int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fluxo

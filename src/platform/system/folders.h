#pragma once
#include <string>

namespace fluxo {

// Where the program keeps its files. FLUXO_HOME, when set, roots every folder
// and the settings database in one directory; otherwise the XDG locations.
std::string ConfigFolder();     // settings database and profile (INI) files
std::string DataFolder();       // installed program data
// The platform's "Windows folder" (help file, the slide show's default pictures).
std::string WindowsFolder();
std::string SharedMemoryName(); // name of the sound feed block (FLUXO_SHM_NAME overrides)

// Creates the folder and its parents; true when it exists afterwards.
bool EnsureFolder(const std::string& path);

}  // namespace fluxo

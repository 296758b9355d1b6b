#pragma once
#include <string>

namespace fluxo::install {

// True when the program was started under a setup name: its file name, in
// lower case, contains "setup" ("fluxo-setup", "MySetup.exe", ...).
bool IsSetupProgram(const std::string& programPath);

// Runs setup: the wizard, or with "--unattended FOLDER" the installation into
// FOLDER with the options page's defaults and no questions. argv[0] is the
// setup program, whose folder holds what gets installed. Returns the exit code.
int RunSetup(int argc, char** argv);

}  // namespace fluxo::install

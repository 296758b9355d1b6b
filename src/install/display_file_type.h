#pragma once
#include <string>

// The .FLX file type for desktops: the classes keys, a shared-mime-info
// package and an entry that plays the files with the installed saver.
namespace fluxo::install {

std::string MimePackageText();
void RegisterDisplayFileType(const std::string& saverPath);

// Runs a desktop database tool when it is installed; its result does not
// matter (the files are in place either way).
void RunDatabaseTool(const char* tool, const std::string& folder);

}  // namespace fluxo::install

#pragma once
#include <string>
#include <vector>

// Desktop entries: this platform's shell links.
namespace fluxo::install {

// The Exec line for a command: each word quoted as desktop entries require.
std::string DesktopExecLine(const std::vector<std::string>& words);

// The text of an application entry named `name` that runs `exec` (an Exec
// line). `extraKeys` are whole "Key=value" lines added as they stand.
std::string ApplicationEntryText(const std::string& name, const std::string& exec,
                                 const std::vector<std::string>& extraKeys = {});

// A desktop entry at `linkPath` ("<name>.desktop") that starts `target` (a
// program, with `arguments`) or, for a folder or document, opens it. 1 on
// success; a failure leaves no file.
int CreateShortcut(const std::string& target, const std::string& linkPath, const std::string& description,
                   const std::vector<std::string>& arguments = {}, const std::vector<std::string>& extraKeys = {});

}  // namespace fluxo::install

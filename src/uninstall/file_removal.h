#pragma once
#include <string>
#include <vector>

namespace fluxo::uninstall {

// Deletes each named file of `folder`. Names are matched without regard to
// case, as the platform's file names are; missing files are fine. A file
// that is only read-only is deleted all the same (deleting needs the
// folder's permission, not the file's).
void DeleteNamedFiles(const std::string& folder, const std::vector<std::string>& names);

// Removes the folder when it is empty; true when it is gone afterwards.
bool RemoveEmptyFolder(const std::string& folder);

// Deletes every file of `folder` that matches one of the masks ("*.FLX"),
// then removes the folder, which stays when other files are left in it.
// True when the folder is gone.
bool DeleteFilesAndFolder(const std::string& folder, const std::vector<std::string>& masks);

}  // namespace fluxo::uninstall

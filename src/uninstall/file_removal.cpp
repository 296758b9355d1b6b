#include "uninstall/file_removal.h"

#include <filesystem>

#include "modules/kit/file_mask.h"

namespace fluxo::uninstall {
namespace {

namespace fs = std::filesystem;

// An empty folder name would turn "%s/name" into a path at the file
// system's root: nothing is deleted for it.
void DeleteMatches(const std::string& folder, const std::string& mask) {
  if (folder.empty()) return;
  std::error_code ec;
  for (const std::string& path : kit::MatchingFiles(folder + "/" + mask)) fs::remove(path, ec);
}

}  // namespace

void DeleteNamedFiles(const std::string& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) DeleteMatches(folder, name);
}

bool RemoveEmptyFolder(const std::string& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(folder, ec)) && fs::is_empty(folder, ec)) fs::remove(folder, ec);
  return !fs::exists(fs::symlink_status(folder, ec));
}

bool DeleteFilesAndFolder(const std::string& folder, const std::vector<std::string>& masks) {
  for (const std::string& mask : masks) DeleteMatches(folder, mask);
  return RemoveEmptyFolder(folder);
}

}  // namespace fluxo::uninstall

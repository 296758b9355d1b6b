#pragma once
#include <string>
#include <vector>

// File operations of setup: copies that replace their target whole, moves,
// and the folder checks of the installation.
namespace fluxo::install {

bool IsFolder(const std::string& path);
// Creates the folder (its parent must exist); true when it is a folder afterwards.
bool CreateFolder(const std::string& path);

// Copies `from` over `to` with the source's permissions. The target is
// replaced in one step (a running program keeps its old file). On failure
// the target is made writable and the copy tried once more.
bool CopyFileReplacing(const std::string& from, const std::string& to);
// One attempt of the same, without the second try.
bool CopyFileOnce(const std::string& from, const std::string& to);
// Copies `name` from the source folder into `destinationFolder` as `newName`;
// false when the destination is not an existing folder or the copy failed.
bool CopyFromSource(const std::string& sourceFolder, const std::string& name, const std::string& destinationFolder,
                    const std::string& newName);
// Moves a file, replacing the target; on failure makes the target writable
// and tries again.
bool MoveFileReplacing(const std::string& from, const std::string& to);

// Names of the regular files directly in `folder` whose extension matches
// `extension` (e.g. ".FLX") in any letter case, sorted by name.
std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension);

// Writes the whole text to `path` through a temporary file and a rename, so
// readers see the old or the new file, never half of one.
bool WriteFileAtomically(const std::string& path, const std::string& text, unsigned mode = 0644);
bool ReadWholeFile(const std::string& path, std::string& text);

}  // namespace fluxo::install

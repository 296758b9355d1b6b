#pragma once
#include <QString>

namespace fluxo::config {

// The folder every file dialog of the program starts in and remembers:
// at first the Windows folder, then wherever the user last picked a file.
QString LastUsedFolder();
// Remembers the folder of a chosen file (a folder path is kept as it is).
void RememberFolderOf(const QString& chosenPath);

}  // namespace fluxo::config

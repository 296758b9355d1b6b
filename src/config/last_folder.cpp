#include "config/last_folder.h"

#include <QFileInfo>

#include "platform/system/folders.h"

namespace fluxo::config {

namespace {
QString& Folder() {
  static QString folder;
  return folder;
}
}  // namespace

QString LastUsedFolder() {
  if (Folder().isEmpty()) return QString::fromStdString(WindowsFolder());
  return Folder();
}

void RememberFolderOf(const QString& chosenPath) {
  if (chosenPath.isEmpty()) return;
  const QFileInfo info(chosenPath);
  Folder() = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

}  // namespace fluxo::config

#include "install/display_file_type.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include "install/desktop_entry.h"
#include "install/file_copy.h"
#include "install/install_layout.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "settings/display_file.h"

namespace fluxo::install {
namespace {

constexpr int kToolTimeoutMs = 30000;

}  // namespace

std::string MimePackageText() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kMimeType +
         "\">\n"
         "    <comment>Fluxo display</comment>\n"
         "    <magic priority=\"60\">\n"
         "      <match type=\"big32\" offset=\"0\" value=\"0x00420042\"/>\n"
         "    </magic>\n"
         "    <glob pattern=\"*.flx\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

void RunDatabaseTool(const char* tool, const std::string& folder) {
  const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (path.isEmpty()) return;
  // Its advice about search paths is for people setting up a desktop, not
  // for setup's user.
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(path, {QString::fromStdString(folder)});
  if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs)) {
    process.kill();
    process.waitForFinished();
  }
}

void RegisterDisplayFileType(const std::string& saverPath) {
  RegisterFileType(saverPath.c_str());
  const std::string mimeRoot = XdgDataFolder() + "/mime";
  if (EnsureFolder(mimeRoot + "/packages")) {
    WriteFileAtomically(XdgDataFolder() + "/" + kMimePackage, MimePackageText());
    RunDatabaseTool("update-mime-database", mimeRoot);
  }
  const std::string programs = ProgramsFolder();
  if (EnsureFolder(programs)) {
    const std::string text = ApplicationEntryText(
        "Fluxo display", DesktopExecLine({saverPath, "/S", "%f"}),
        {std::string("MimeType=") + kMimeType + ";", "NoDisplay=true", "Comment=Play a saved Fluxo display"});
    WriteFileAtomically(programs + "/" + kDisplayOpener, text);
    RunDatabaseTool("update-desktop-database", programs);
  }
}

}  // namespace fluxo::install

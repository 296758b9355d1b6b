#include "config/display_file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "config/last_folder.h"

namespace fluxo::config {

namespace {

// Masks match whatever the case, as on the platform the files come from.
const char kFilters[] = "*.FLX (*.FLX *.flx);;All files (*.*) (*)";

// Runs a dialog; the folder of the choice is remembered. Empty when cancelled.
QStringList Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QStringList chosen = dialog.selectedFiles();
  RememberFolderOf(chosen.first());
  return chosen;
}

QString ChooseExportFile(QWidget* parent, const QString& fileName) {
  QFileDialog dialog(parent, QString(), LastUsedFolder(), kFilters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("FLX");
  dialog.selectFile(fileName);
  return Run(dialog).value(0);
}

QStringList ChooseImportFiles(QWidget* parent) {
  QFileDialog dialog(parent, QString(), LastUsedFolder(), kFilters);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  return Run(dialog);
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void Warn(QWidget* parent, const QString& title, const QString& text) { QMessageBox::warning(parent, title, text); }

}  // namespace

DisplayFileDialogs StandardDisplayFileDialogs() { return {&ChooseExportFile, &ChooseImportFiles, &AskYesNo, &Warn}; }

}  // namespace fluxo::config

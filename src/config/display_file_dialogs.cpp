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

// The texts carry display names and paths as the user typed them: plain
// text, so that a name like "<b>x</b>" is not taken for markup.
int Ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton fallback) {
  QMessageBox box(icon, title, text, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(fallback);
  return box.exec();
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return Ask(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void Warn(QWidget* parent, const QString& title, const QString& text) {
  Ask(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace

DisplayFileDialogs StandardDisplayFileDialogs() { return {&ChooseExportFile, &ChooseImportFiles, &AskYesNo, &Warn}; }

}  // namespace fluxo::config

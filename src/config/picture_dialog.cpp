#include "config/picture_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "config/last_folder.h"
#include "host/picture_import.h"

namespace fluxo::config {

namespace {

QString AskWithFileDialog(QWidget* parent, const QString& title, const QString& start, const QStringList& filters) {
  return QFileDialog::getOpenFileName(parent, title, start, filters.join(QStringLiteral(";;")));
}

PictureChooser& Chooser() {
  static PictureChooser chooser = AskWithFileDialog;
  return chooser;
}

// The extensions the readers add beyond the bitmaps: the formats text lists
// them after "*.rle *.dib", each as ", *.<ext>".
QStringList ImportedPatterns() {
  QStringList parts = QString::fromStdString(SupportedFormatsText()).split(QStringLiteral(", "));
  parts.removeFirst();
  return parts;
}

}  // namespace

QStringList OpenBitmapFilters() {
  QStringList filters;
  const QStringList imported = ImportedPatterns();
  if (!imported.isEmpty()) filters << QStringLiteral("Graphics files (*.bmp %1)").arg(imported.join(QLatin1Char(' ')));
  // Qt reads the patterns from the last parentheses, separated by blanks.
  filters << QStringLiteral("Bitmaps (*.bmp *.dib *.rle)") << QStringLiteral("Animations (*.1)")
          << QStringLiteral("All files (*)");
  return filters;
}

QString ShowOpenBitmapDialog(QWidget* parent, const QString& current) {
  QString start = LastUsedFolder();
  const QFileInfo info(current);
  if (!current.isEmpty() && info.isDir()) {
    RememberFolderOf(current);
    start = LastUsedFolder();
  } else if (info.isFile()) {
    start = info.absoluteFilePath();  // proposed as the choice, in its own folder
  }
  const QString chosen = Chooser()(parent, QStringLiteral("Open Bitmap"), start, OpenBitmapFilters());
  if (chosen.isEmpty()) return current;
  RememberFolderOf(chosen);
  return chosen;
}

void SetPictureChooser(PictureChooser chooser) { Chooser() = chooser ? std::move(chooser) : AskWithFileDialog; }

}  // namespace fluxo::config

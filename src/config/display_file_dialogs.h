#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace fluxo::config {

// The modal questions and file choosers of the saved-display commands. Pages
// hold a copy and call through it, so tests can answer in place of the user.
struct DisplayFileDialogs {
  // Save dialog for one "*.FLX" file, proposing `fileName` in the remembered
  // folder. Empty when cancelled.
  std::function<QString(QWidget* parent, const QString& fileName)> chooseExportFile;
  // Open dialog for one or several existing "*.FLX" files in the remembered
  // folder. Empty when cancelled.
  std::function<QStringList(QWidget* parent)> chooseImportFiles;
  // Yes/No with the question icon; true for Yes.
  std::function<bool(QWidget* parent, const QString& title, const QString& text)> askYesNo;
  // A notice with the warning icon and an OK button.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> warn;
};

// The real dialogs; the file choosers start in and remember LastUsedFolder().
DisplayFileDialogs StandardDisplayFileDialogs();

}  // namespace fluxo::config

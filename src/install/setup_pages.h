#pragma once
#include <QWizardPage>

#include "install/setup_wizard.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;

namespace fluxo::install {

// Page 0: the installation folder.
class DirectoryPage : public QWizardPage {
  Q_OBJECT
 public:
  explicit DirectoryPage(SetupState& state);
  void initializePage() override;
  bool validatePage() override;

 private:
  void Browse();

  SetupState& state_;
  QLineEdit* folderEdit_;
};

// Page 1: the options; "Next" installs.
class OptionsPage : public QWizardPage {
  Q_OBJECT
 public:
  explicit OptionsPage(SetupState& state);
  void initializePage() override;
  bool validatePage() override;

 private:
  InstallOptions Chosen() const;

  SetupState& state_;
  QCheckBox* defaultSaver_;
  QCheckBox* launcher_;
  QCheckBox* companion_;
  QCheckBox* presets_;
  QCheckBox* desktopConfigure_;
  QCheckBox* desktopSavedDisplays_;
  QProgressBar* progress_;
};

// Page 2: try the installed saver.
class ConfigurePage : public QWizardPage {
  Q_OBJECT
 public:
  ConfigurePage();
};

}  // namespace fluxo::install

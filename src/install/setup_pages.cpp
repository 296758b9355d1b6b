#include "install/setup_pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "install/install_layout.h"
#include "platform/system/install_folders.h"
#include "platform/system/process.h"

namespace fluxo::install {
namespace {

QCheckBox* AddOption(QVBoxLayout* layout, const char* text, const char* name) {
  auto* box = new QCheckBox(QString::fromLatin1(text));
  box->setObjectName(QString::fromLatin1(name));
  layout->addWidget(box);
  return box;
}

// The desktop's own screen-saver settings.
void StartSaverSettings() {
  for (const char* tool : {"xscreensaver-settings", "xscreensaver-demo"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (!path.isEmpty()) {
      StartDetached({path.toStdString()});
      return;
    }
  }
}

}  // namespace

DirectoryPage::DirectoryPage(SetupState& state) : state_(state), folderEdit_(new QLineEdit) {
  setTitle(QStringLiteral("Directory"));
  folderEdit_->setObjectName(QStringLiteral("folder"));
  auto* browse = new QPushButton(QStringLiteral("Browse"));
  browse->setObjectName(QStringLiteral("browse"));
  connect(browse, &QPushButton::clicked, this, &DirectoryPage::Browse);
  auto* row = new QHBoxLayout;
  row->addWidget(folderEdit_, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Setup will install the Fluxonic Screen Saver into this folder:")));
  layout->addLayout(row);
  layout->addStretch(1);
}

void DirectoryPage::initializePage() {
  if (state_.folder.empty()) state_.folder = DefaultInstallFolder();
  folderEdit_->setText(QString::fromStdString(state_.folder));
}

bool DirectoryPage::validatePage() {
  std::string folder = folderEdit_->text().toStdString();
  const std::string typed = folder;
  const bool prepared = PrepareInstallFolder(folder);
  state_.folder = folder;
  if (!prepared) state_.prompts->Stop("Invalid directory name!", typed);
  return prepared;
}

void DirectoryPage::Browse() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QStringLiteral("Select Destination Directory"), folderEdit_->text());
  if (!chosen.isEmpty()) folderEdit_->setText(chosen);
}

OptionsPage::OptionsPage(SetupState& state) : state_(state), progress_(new QProgressBar) {
  setTitle(QStringLiteral("Options"));
  auto* layout = new QVBoxLayout(this);
  defaultSaver_ = AddOption(layout, "Set as your default screen saver", "defaultSaver");
  launcher_ = AddOption(layout, "Add saver launcher to your task bar", "launcher");
  companion_ = AddOption(layout, "Install Tonewell", "companion");
  presets_ = AddOption(layout, "Load Preset Displays", "presets");
  desktopConfigure_ = AddOption(layout, "Add configuration utility to Desktop", "desktopConfigure");
  desktopSavedDisplays_ = AddOption(layout, "Add Saved Settings to Desktop", "desktopSavedDisplays");
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  layout->addStretch(1);
  layout->addWidget(progress_);
}

void OptionsPage::initializePage() {
  for (QCheckBox* box : {defaultSaver_, launcher_, presets_, companion_}) box->setChecked(true);
  desktopConfigure_->setChecked(false);
  desktopSavedDisplays_->setChecked(false);
  // Without earlier settings the presets are the only displays there are.
  presets_->setEnabled(state_.rootExistedAtStart);
  const InstallOptions available = DefaultOptions(state_.source);
  launcher_->setChecked(available.launcher);
  launcher_->setVisible(available.launcher);
  companion_->setChecked(available.companion);
  companion_->setVisible(available.companion);
}

InstallOptions OptionsPage::Chosen() const {
  InstallOptions options;
  options.defaultSaver = defaultSaver_->isChecked();
  options.launcher = launcher_->isChecked();
  options.companion = companion_->isChecked();
  options.presets = presets_->isChecked();
  options.desktopConfigure = desktopConfigure_->isChecked();
  options.desktopSavedDisplays = desktopSavedDisplays_->isChecked();
  return options;
}

bool OptionsPage::validatePage() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool installed = RunInstallation(state_.folder, Chosen(), state_.source, *state_.prompts, [this](int value) {
    progress_->setValue(value);
    progress_->repaint();
  });
  QApplication::restoreOverrideCursor();
  return installed;
}

ConfigurePage::ConfigurePage() {
  setTitle(QStringLiteral("Configure"));
  auto* testDrive = new QPushButton(QStringLiteral("Test Drive"));
  testDrive->setObjectName(QStringLiteral("testDrive"));
  auto* configure = new QPushButton(QStringLiteral("Configure"));
  configure->setObjectName(QStringLiteral("configure"));
  connect(testDrive, &QPushButton::clicked, this, [] { StartDetached({SystemFolder() + "/" + kSaverProgram, "/c"}); });
  connect(configure, &QPushButton::clicked, this, &StartSaverSettings);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("The Fluxonic Screen Saver is installed.")));
  layout->addWidget(testDrive);
  layout->addWidget(configure);
  layout->addStretch(1);
}

}  // namespace fluxo::install

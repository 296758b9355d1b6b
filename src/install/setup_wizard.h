#pragma once
#include <QWizard>
#include <string>

#include "install/install_steps.h"
#include "install/setup_prompts.h"

namespace fluxo::install {

// What the three pages share for the whole wizard.
struct SetupState {
  SetupSource source;
  bool rootExistedAtStart = false;  // settings were there before setup ran
  std::string folder;               // the installation folder
  SetupPrompts* prompts = nullptr;
};

// The setup wizard: "Directory", "Options" (which installs), "Configure".
class SetupWizard : public QWizard {
  Q_OBJECT
 public:
  enum PageId { kDirectoryPage = 0, kOptionsPage = 1, kConfigurePage = 2 };

  SetupWizard(SetupSource source, bool rootExistedAtStart, SetupPrompts& prompts, QWidget* parent = nullptr);
  const std::string& InstallFolder() const { return state_.folder; }

 private:
  SetupState state_;
};

}  // namespace fluxo::install

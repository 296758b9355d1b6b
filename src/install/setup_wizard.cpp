#include "install/setup_wizard.h"

#include <utility>

#include "install/setup_pages.h"

namespace fluxo::install {

SetupWizard::SetupWizard(SetupSource source, bool rootExistedAtStart, SetupPrompts& prompts, QWidget* parent)
    : QWizard(parent) {
  state_.source = std::move(source);
  state_.rootExistedAtStart = rootExistedAtStart;
  state_.prompts = &prompts;
  setWindowTitle(QStringLiteral("Setup for Fluxo v%1.%2.%3").arg(3).arg(9).arg(990));
  // Forward only: pages 0 and 1 offer "Next", the last page "Finish".
  setButtonLayout({QWizard::Stretch, QWizard::NextButton, QWizard::FinishButton, QWizard::CancelButton});
  setOption(QWizard::NoCancelButtonOnLastPage, true);
  setPage(kDirectoryPage, new DirectoryPage(state_));
  setPage(kOptionsPage, new OptionsPage(state_));
  setPage(kConfigurePage, new ConfigurePage);
}

}  // namespace fluxo::install

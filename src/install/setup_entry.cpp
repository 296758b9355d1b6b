#include "install/setup_entry.h"

#include <QApplication>
#include <algorithm>
#include <cctype>
#include <iostream>

#include "install/install_steps.h"
#include "install/setup_prompts.h"
#include "install/setup_wizard.h"
#include "settings/settings_store.h"

namespace fluxo::install {
namespace {

int RunUnattended(std::string folder, const SetupSource& source) {
  StandardErrorPrompts prompts;
  if (!PrepareInstallFolder(folder)) {
    prompts.Stop("Invalid directory name!", folder);
    return 1;
  }
  if (!RunInstallation(folder, DefaultOptions(source), source, prompts, nullptr)) return 1;
  std::cout << "Fluxo installed into " << folder << "\n";
  return 0;
}

}  // namespace

bool IsSetupProgram(const std::string& programPath) {
  // Only the file's own name counts: a folder called "setup" says nothing.
  std::string lower = programPath.substr(programPath.rfind('/') + 1);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("setup") != std::string::npos;
}

int RunSetup(int argc, char** argv) {
  const SetupSource source = SetupSourceFolder(argc > 0 ? argv[0] : "");
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) != "--unattended") continue;
    if (i + 1 >= argc) {
      std::cerr << "fluxo setup: --unattended needs the installation folder\n";
      return 1;
    }
    return RunUnattended(argv[i + 1], source);
  }
  const bool rootExisted = RootExists(kRootName) != 0;
  QApplication application(argc, argv);
  MessageBoxPrompts prompts;
  SetupWizard wizard(source, rootExisted, prompts);
  prompts.SetOwner(&wizard);
  wizard.show();
  return application.exec();
}

}  // namespace fluxo::install

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/registry/store.h"
#include "platform/system/runtime_folder.h"
#include "uninstall/message_box_prompts.h"
#include "uninstall/uninstaller.h"

namespace {

const char kHelp[] =
    "fluxo-uninstall - removes the Fluxonic Screen Saver installed by fluxo-setup\n"
    "\n"
    "Usage:\n"
    "  fluxo-uninstall                  ask with message boxes, then remove\n"
    "  fluxo-uninstall --yes            remove without asking (for scripts)\n"
    "  fluxo-uninstall --keep-launcher  keep the taskbar launcher (answers its question No)\n"
    "  fluxo-uninstall --help | --version\n"
    "\n"
    "Removed: the saver, the launcher, the menu group and desktop items, the installation,\n"
    "plug-in and settings folders with the files setup put there (your own files stay, and\n"
    "so do the folders holding them), the display file type, the settings with every saved\n"
    "display, and Fluxo's entry in ~/.xscreensaver. The help pages stay.\n";

const char kDone[] = "The Fluxonic Screen Saver has been removed.";

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

int Uninstall(int argc, char** argv) {
  bool yes = false, keepLauncher = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "3.9.990\n";
      return 0;
    }
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--keep-launcher") {
      keepLauncher = true;
    } else {
      std::cerr << "fluxo-uninstall: unknown option \"" << arg << "\"\nTry 'fluxo-uninstall --help'.\n";
      return 2;
    }
  }
  using fluxo::uninstall::Question;
  if (yes) {
    fluxo::uninstall::Prompts answers;
    answers.ask = [&](Question q) { return q == Question::RemoveSaver || !keepLauncher; };
    answers.done = [] { std::cout << kDone << "\n"; };
    return fluxo::uninstall::RunUninstall(answers);
  }
  if (!DisplayAvailable()) {
    std::cerr << "fluxo-uninstall: no display for the questions; --yes removes without asking\n";
    return 2;
  }
  QApplication application(argc, argv);
  fluxo::uninstall::Prompts prompts = fluxo::uninstall::MessageBoxPrompts();
  if (keepLauncher) {
    auto ask = prompts.ask;
    prompts.ask = [ask](Question q) { return q == Question::RemoveLauncher ? false : ask(q); };
  }
  return fluxo::uninstall::RunUninstall(prompts);
}

}  // namespace

int main(int argc, char** argv) {
  fluxo::EnsureRuntimeFolder();
  const int status = Uninstall(argc, argv);
  fluxo::reg::store::Close();
  return status;
}

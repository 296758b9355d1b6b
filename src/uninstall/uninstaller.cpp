#include "uninstall/uninstaller.h"

#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "uninstall/uninstall_steps.h"

namespace fluxo::uninstall {

// The program deletes its own file along with the rest: a running program's
// file may go on this platform, so no copy of it needs to do the work. The
// settings folders are read (RemoveFolders) before the settings key goes.
int RunUninstall(const Prompts& prompts) {
  if (!prompts.ask(Question::RemoveSaver)) return 1;
  DeleteSaverFiles(SystemFolder());
  DeleteSaverFiles(WindowsFolder());
  const bool removeLauncher = prompts.ask(Question::RemoveLauncher);
  if (removeLauncher) RemoveLauncher();
  RemoveDesktopItems();
  RemoveFolders(!removeLauncher);
  RemoveProgramGroup();
  RemoveRegistrations();
  RemoveSettings();
  ClearProfileSaver();
  RemoveXScreenSaverEntry();
  prompts.done();
  return 0;
}

}  // namespace fluxo::uninstall

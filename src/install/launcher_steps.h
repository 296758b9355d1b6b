#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// The taskbar launcher and the sound companion, both outside this program:
// setup closes, copies and starts the launcher, and runs the companion's
// own installer.
namespace fluxo::install {

// Processes of the current user whose program name is `name`. Running
// launchers are found this way: they have no window titles to look for.
std::vector<pid_t> FindUserProcesses(const std::string& name);
// Asks every running launcher to end, then waits (polling every 100 ms, for
// at most a few seconds each) until it has.
void CloseRunningLaunchers();

// Closes running launchers, removes an old copy from the startup folder,
// copies the launcher into the installation folder, adds its start-up entry
// and starts it.
void InstallLauncher(const std::string& sourceFolder, const std::string& installFolder);

// Clears the companion's quit request in the sound feed, copies the
// companion into the installation folder and runs "tonewell --install"
// there: the companion records the path it was run from, which must outlive
// the folder setup was started from.
void InstallCompanion(const std::string& sourceFolder, const std::string& installFolder);

}  // namespace fluxo::install

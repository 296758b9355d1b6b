#pragma once
#include <string>

namespace fluxo {

// The places setup installs into and the uninstaller clears, for the current
// user. FLUXO_HOME, when set, roots every one of them (as it roots the
// settings), so an installation can be tried without touching the desktop.
std::string UserHomeFolder();      // $HOME: where ~/.xscreensaver lives
std::string SystemFolder();        // where the saver program goes (~/.local/bin)
std::string ProgramFilesFolder();  // parent of the default installation folder (~/.local/opt)
std::string DesktopFolder();       // the user's desktop ($XDG_DESKTOP_DIR or ~/Desktop)
std::string ProgramsFolder();      // menu entries ($XDG_DATA_HOME/applications)
std::string StartupFolder();       // programs started at log-in ($XDG_CONFIG_HOME/autostart)
std::string XdgDataFolder();       // $XDG_DATA_HOME: mime packages, menu directories, icons
std::string XdgConfigFolder();     // $XDG_CONFIG_HOME: menu merge files

}  // namespace fluxo

#pragma once
#include <string>

// The uninstaller's steps, each removing one kind of thing setup or the
// running program created. Every step ignores what cannot be removed.
namespace fluxo::uninstall {

// A folder recorded in the settings ("FluxoDir", "FluxoSav", "PlugInDir"),
// or "" when there is none.
std::string ReadFolderSetting(const char* valueName);

// The installed saver of this and of older versions in `folder`.
void DeleteSaverFiles(const std::string& folder);
// Ends a running launcher and deletes it with its start-up entry.
void RemoveLauncher();
void RemoveDesktopItems();
// The plug-in, settings and installation folders with the files setup and
// the program put there. With `launcherKept` the launcher in the
// installation folder stays, since its start-up entry still runs it.
void RemoveFolders(bool launcherKept);
void RemoveProgramGroup();
// The display file type and the uninstall entry.
void RemoveRegistrations();
// The whole settings key with every saved display.
void RemoveSettings();
// "(None)" as the saver of "SYSTEM.INI".
void ClearProfileSaver();
// Fluxo's entry in the user's XScreenSaver programs, which would otherwise
// name a program that is gone.
void RemoveXScreenSaverEntry();

}  // namespace fluxo::uninstall

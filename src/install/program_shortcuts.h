#pragma once
#include <string>

// The menu group and the desktop items setup creates.
namespace fluxo::install {

// The group "The Fluxonic Screen Saver" in the programs menu: a folder of
// five entries, a directory entry and a merge file that make it a submenu.
// Nothing happens without a programs folder.
void CreateProgramShortcuts();

// "Fluxo SS - Configure" on the desktop: the configuration entry.
void CreateDesktopConfigureItem();
// "Fluxo SS - Saved Displays" on the desktop: the settings folder.
void CreateDesktopSavedDisplaysItem();

}  // namespace fluxo::install

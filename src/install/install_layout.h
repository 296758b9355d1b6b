#pragma once
// What setup creates and the uninstaller removes, named once for both.

namespace fluxo::install {

// In SystemFolder(): the installed saver (the platform's "FLUXO.SCR").
inline constexpr char kSaverProgram[] = "fluxo";
// In the installation folder.
inline constexpr char kConfigureProgram[] = "Fluxo";  // "Fluxo.EXE": the configuration entry
inline constexpr char kUninstallProgram[] = "fluxo-uninstall";
inline constexpr char kLauncherProgram[] = "Kickoff";
inline constexpr char kCompanionProgram[] = "tonewell";
inline constexpr char kPlugInFolder[] = "PlugIns";
inline constexpr char kSettingsFolder[] = "Settings";
// Copied into the installation folder by their names.
inline constexpr char kReadMeFile[] = "ReadMe.TXT";
inline constexpr char kFileIdFile[] = "File_ID.DIZ";
inline constexpr char kLicenseFile[] = "License.TXT";
// In WindowsFolder(): the help pages (the platform's "CORVANE.HLP").
inline constexpr char kHelpFolder[] = "help";
inline constexpr char kHelpIndexPage[] = "index.html";

// Read from the source folder only.
inline constexpr char kSloganFile[] = "Slogan.TXT";
inline constexpr char kDisplayFileExtension[] = ".FLX";

// The program group: a menu folder of desktop entries in ProgramsFolder(),
// shown as a submenu through a merge file and a directory entry.
inline constexpr char kProgramGroup[] = "The Fluxonic Screen Saver";
inline constexpr char kMenuMergeFile[] = "menus/applications-merged/fluxo.menu";     // in XdgConfigFolder()
inline constexpr char kMenuDirectoryFile[] = "desktop-directories/fluxo.directory";  // in XdgDataFolder()
inline constexpr char kMenuCategory[] = "X-Fluxonic-Screen-Saver";                   // what the merge file gathers
// The group's five entries, "<name>.desktop" in the group folder.
inline constexpr char kGroupSaverEntry[] = "Fluxonic Screen Saver";
inline constexpr char kGroupHelpEntry[] = "Help";
inline constexpr char kGroupSavedDisplaysEntry[] = "Saved Displays";
inline constexpr char kGroupReleaseNotesEntry[] = "Release Notes";
inline constexpr char kGroupUninstallEntry[] = "UnInstall";
// Shortcuts are desktop entries: the platform's "X.LNK" is "X.desktop".
inline constexpr char kShortcutSuffix[] = ".desktop";
inline constexpr char kDesktopConfigure[] = "Fluxo SS - Configure";
inline constexpr char kDesktopSavedDisplays[] = "Fluxo SS - Saved Displays";
inline constexpr char kStartupLauncher[] = "Kickoff";

// The uninstall entry in the local-machine hive.
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo";

// The display file type.
inline constexpr char kMimeType[] = "application/fluxo";
inline constexpr char kMimePackage[] = "mime/packages/fluxo.xml";  // in XdgDataFolder()
inline constexpr char kDisplayOpener[] = "fluxo-display.desktop";  // in ProgramsFolder()

// XScreenSaver: the user's settings file, the backup setup leaves beside it,
// and the hack description its settings program reads. That program only
// searches the system's own configuration folder, so setup leaves the
// description in the installation folder (the package installs it there).
inline constexpr char kXScreenSaverFile[] = ".xscreensaver";  // in UserHomeFolder()
inline constexpr char kXScreenSaverBackup[] = ".xscreensaver.before-fluxo";
inline constexpr char kHackDescription[] = "fluxo.xml";  // in the source and installation folders

}  // namespace fluxo::install

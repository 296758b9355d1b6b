#pragma once
// What setup creates and the uninstaller removes, named once for both.

namespace fluxo::install {

// In SystemFolder(): the installed saver (the platform's "FLUXO.SCR").
inline constexpr char kSaverProgram[] = "fluxo";
// In the installation folder.
inline constexpr char kConfigureProgram[] = "Fluxo";       // "Fluxo.EXE": the configuration entry
inline constexpr char kUninstallProgram[] = "fluxo-uninstall";
inline constexpr char kLauncherProgram[] = "Kickoff";
inline constexpr char kCompanionProgram[] = "tonewell";
inline constexpr char kPlugInFolder[] = "PlugIns";
inline constexpr char kSettingsFolder[] = "Settings";
// In WindowsFolder(): the help pages (the platform's "CORVANE.HLP").
inline constexpr char kHelpFolder[] = "help";

// The program group: a menu folder of desktop entries in ProgramsFolder(),
// shown as a submenu through a merge file and a directory entry.
inline constexpr char kProgramGroup[] = "The Fluxonic Screen Saver";
inline constexpr char kMenuMergeFile[] = "menus/applications-merged/fluxo.menu";      // in XdgConfigFolder()
inline constexpr char kMenuDirectoryFile[] = "desktop-directories/fluxo.directory";  // in XdgDataFolder()
// Shortcuts are desktop entries: the platform's "X.LNK" is "X.desktop".
inline constexpr char kShortcutSuffix[] = ".desktop";
inline constexpr char kDesktopConfigure[] = "Fluxo SS - Configure";
inline constexpr char kDesktopSavedDisplays[] = "Fluxo SS - Saved Displays";
inline constexpr char kStartupLauncher[] = "Kickoff";

// The display file type.
inline constexpr char kMimeType[] = "application/fluxo";
inline constexpr char kMimePackage[] = "mime/packages/fluxo.xml";  // in XdgDataFolder()
inline constexpr char kDisplayOpener[] = "fluxo-display.desktop";  // in ProgramsFolder()

// XScreenSaver: the user's settings file, the backup setup leaves beside it,
// and the hack description its settings program reads.
inline constexpr char kXScreenSaverFile[] = ".xscreensaver";  // in UserHomeFolder()
inline constexpr char kXScreenSaverBackup[] = ".xscreensaver.before-fluxo";
inline constexpr char kHackDescription[] = "fluxo.xml";

}  // namespace fluxo::install

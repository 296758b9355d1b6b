#include "install/program_shortcuts.h"

#include <vector>

#include "install/desktop_entry.h"
#include "install/file_copy.h"
#include "install/install_layout.h"
#include "install/setup_settings.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"

namespace fluxo::install {
namespace {

std::string Link(const std::string& folder, const char* name) { return folder + "/" + name + kShortcutSuffix; }

std::string ConfigureProgram() { return ReadSettingText("FluxoDir") + "/" + kConfigureProgram; }

const std::vector<std::string> kConfigureArguments = {"/c"};

std::string MenuMergeText() {
  return std::string(
             // Menu readers parse the merge file without a document type.
             "<Menu>\n"
             "  <Name>Applications</Name>\n"
             "  <Menu>\n"
             "    <Name>") +
         kProgramGroup +
         "</Name>\n"
         "    <Directory>fluxo.directory</Directory>\n"
         "    <Include><Category>" +
         kMenuCategory +
         "</Category></Include>\n"
         "  </Menu>\n"
         "</Menu>\n";
}

std::string DirectoryEntryText() {
  return std::string("[Desktop Entry]\nType=Directory\nVersion=1.0\nName=") + kProgramGroup + "\nIcon=folder\n";
}

// The submenu's own files: the menu merge file and its directory entry.
void WriteMenuFiles() {
  const std::string merge = XdgConfigFolder() + "/" + kMenuMergeFile;
  const std::string directory = XdgDataFolder() + "/" + kMenuDirectoryFile;
  if (EnsureFolder(merge.substr(0, merge.rfind('/')))) WriteFileAtomically(merge, MenuMergeText());
  if (EnsureFolder(directory.substr(0, directory.rfind('/')))) WriteFileAtomically(directory, DirectoryEntryText());
}

}  // namespace

void CreateProgramShortcuts() {
  const std::string programs = ProgramsFolder();
  if (!EnsureFolder(programs)) return;
  const std::string group = programs + "/" + kProgramGroup;
  CreateFolder(group);
  const std::string folder = ReadSettingText("FluxoDir");
  const std::vector<std::string> inGroup = {std::string("Categories=") + kMenuCategory + ";"};
  CreateShortcut(ConfigureProgram(), Link(group, kGroupSaverEntry), "Fluxonic Screen Saver", kConfigureArguments,
                 inGroup);
  CreateShortcut(WindowsFolder() + "/" + kHelpFolder + "/" + kHelpIndexPage, Link(group, kGroupHelpEntry), "Help", {},
                 inGroup);
  CreateShortcut(ReadSettingText("FluxoSav"), Link(group, kGroupSavedDisplaysEntry), "Saved Displays", {}, inGroup);
  CreateShortcut(folder + "/" + kReadMeFile, Link(group, kGroupReleaseNotesEntry), "Release Notes", {}, inGroup);
  CreateShortcut(folder + "/" + kUninstallProgram, Link(group, kGroupUninstallEntry), "UnInstall", {}, inGroup);
  WriteMenuFiles();
}

void CreateDesktopConfigureItem() {
  const std::string desktop = DesktopFolder();
  if (EnsureFolder(desktop))
    CreateShortcut(ConfigureProgram(), Link(desktop, kDesktopConfigure), "Fluxo SS - Configure", kConfigureArguments);
}

void CreateDesktopSavedDisplaysItem() {
  const std::string desktop = DesktopFolder();
  if (EnsureFolder(desktop))
    CreateShortcut(ReadSettingText("FluxoSav"), Link(desktop, kDesktopSavedDisplays), "Fluxo SS - Saved Displays");
}

}  // namespace fluxo::install

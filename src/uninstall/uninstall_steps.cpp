#include "uninstall/uninstall_steps.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "install/install_layout.h"
#include "platform/registry/ini_profile.h"
#include "platform/registry/registry.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "settings/settings_store.h"
#include "uninstall/file_removal.h"
#include "uninstall/running_programs.h"
#include "uninstall/xscreensaver_programs.h"

namespace fluxo::uninstall {
namespace {

namespace fs = std::filesystem;

constexpr int kLauncherCloseMs = 5000;
constexpr int kToolMs = 20000;

std::string Shortcut(const char* name) { return std::string(name) + install::kShortcutSuffix; }

// The screen savers of this and of older versions.
std::vector<std::string> SaverFiles() {
  return {"Kickoff.EXE", "CYC_32.SCR", "PAT_32.SCR", "POL_32.SCR", "STN_32.SCR",          "PLA_32.SCR", "STR_32.SCR",
          "VOR_32.SCR",  "BEZ_32.SCR", "CYC_16.SCR", "PAT_16.SCR", "POL_16.SCR",          "STN_16.SCR", "PLA_16.SCR",
          "STR_16.SCR",  "VOR_16.SCR", "BEZ_16.SCR", "Fluxo.SCR",  install::kSaverProgram};
}

// What setup puts into the installation folder, of this and older versions.
std::vector<std::string> InstallationFiles(bool launcherKept) {
  std::vector<std::string> names = {"File_ID.DIZ",
                                    "UnInstall.EXE",
                                    "License.TXT",
                                    "ReadMe.TXT",
                                    "FAQ.TXT",
                                    "Setup.EXE",
                                    "Random.SCR",
                                    "Fluxo.EXE",
                                    install::kUninstallProgram,
                                    install::kConfigureProgram,
                                    install::kCompanionProgram,
                                    install::kHackDescription};
  if (!launcherKept) names.insert(names.end(), {"Kickoff.EXE", install::kLauncherProgram});
  return names;
}

std::string Below(const std::string& folder, const std::string& name) { return folder + "/" + name; }

void DeleteFile(const std::string& path) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(path, ec))) fs::remove(path, ec);
}

// Runs a desktop database tool where it is installed; quietly nothing where
// not. Its advice about search paths is for people setting up a desktop, not
// for the uninstaller's user.
void RunTool(const std::vector<std::string>& argv) {
  const QString program = QStandardPaths::findExecutable(QString::fromStdString(argv[0]));
  if (program.isEmpty()) return;
  QStringList arguments;
  for (size_t i = 1; i < argv.size(); ++i) arguments << QString::fromStdString(argv[i]);
  QProcess tool;
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.setStandardErrorFile(QProcess::nullDevice());
  tool.start(program, arguments);
  if (tool.waitForStarted() && !tool.waitForFinished(kToolMs)) {
    tool.kill();
    tool.waitForFinished();
  }
}

// The desktop's caches of file types and of the programs that open them.
void RefreshFileTypeDatabases() {
  std::error_code ec;
  const std::string mime = Below(XdgDataFolder(), "mime");
  if (fs::is_directory(Below(mime, "packages"), ec)) RunTool({"update-mime-database", mime});
  if (fs::is_directory(ProgramsFolder(), ec)) RunTool({"update-desktop-database", "-q", ProgramsFolder()});
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Replaces the file whole (a new file moved over it), keeping its permissions.
bool ReplaceFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".fluxo-uninstall";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << text) || !out.flush()) return false;
  }
  std::error_code ec;
  fs::permissions(temporary, fs::status(path, ec).permissions(), ec);
  fs::rename(temporary, path, ec);
  if (ec) fs::remove(temporary, ec);
  return !ec;
}

std::string Expanded(const std::string& program) {
  for (const char* home : {"~/", "$HOME/"})
    if (program.rfind(home, 0) == 0) return Below(UserHomeFolder(), program.substr(std::string(home).size()));
  return program;
}

bool FoundInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  std::error_code ec;
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && fs::exists(Below(folder, name), ec)) return true;
  return false;
}

bool IsSaverName(const std::string& name) {
  const std::string saver = install::kSaverProgram;
  return name.size() == saver.size() && std::equal(name.begin(), name.end(), saver.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

// An entry is ours when it runs a program called "fluxo" that is gone now:
// left in place it would break the user's screen saver. An entry whose
// program is still there (the system-wide package's, say) keeps working and
// stays.
bool RunsMissingSaver(const std::string& entryProgram) {
  const std::string program = Expanded(entryProgram);
  if (!IsSaverName(fs::path(program).filename().string())) return false;
  if (program.find('/') == std::string::npos) return !FoundInPath(program);
  std::error_code ec;
  return !fs::exists(program, ec);
}

}  // namespace

std::string ReadFolderSetting(const char* valueName) {
  char folder[260] = {};
  if (!ReadSetting(valueName, nullptr, reg::kRegSz, folder, sizeof folder - 1)) return {};
  return folder;
}

void DeleteSaverFiles(const std::string& folder) { DeleteNamedFiles(folder, SaverFiles()); }

void RemoveLauncher() {
  const std::string installation = ReadFolderSetting("FluxoDir");
  if (!installation.empty())
    CloseRunningPrograms({Below(installation, install::kLauncherProgram), Below(installation, "Kickoff.EXE")},
                         kLauncherCloseMs);
  DeleteNamedFiles(StartupFolder(), {"Kickoff.EXE"});
  DeleteNamedFiles(installation, {"Kickoff.EXE", install::kLauncherProgram});
  DeleteNamedFiles(StartupFolder(), {"Kickoff.LNK", Shortcut(install::kStartupLauncher)});
}

void RemoveDesktopItems() {
  const std::string desktop = DesktopFolder();
  DeleteNamedFiles(desktop, {"FXSC.EXE", "Fluxo SS - Configure.LNK", Shortcut(install::kDesktopConfigure)});
  DeleteFilesAndFolder(Below(desktop, "FXSC - Saved Settings"), {"*.FLX"});
  DeleteNamedFiles(desktop, {"Fluxo SS - Saved Displays.LNK", Shortcut(install::kDesktopSavedDisplays)});
}

void RemoveFolders(bool launcherKept) {
  const std::string plugIns = ReadFolderSetting("PlugInDir");
  DeleteFilesAndFolder(plugIns, {"*.DLL", "*.so"});
  RemoveEmptyFolder(plugIns);
  DeleteFilesAndFolder(ReadFolderSetting("FluxoSav"), {"*.FLX"});
  const std::string installation = ReadFolderSetting("FluxoDir");
  DeleteFilesAndFolder(installation, {"*.FLX"});
  DeleteNamedFiles(installation, InstallationFiles(launcherKept));
  RemoveEmptyFolder(installation);
}

void RemoveProgramGroup() {
  const std::string programs = ProgramsFolder();
  std::error_code ec;
  if (!fs::is_directory(programs, ec)) return;
  DeleteFilesAndFolder(Below(programs, install::kProgramGroup), {"*.LNK", std::string("*") + install::kShortcutSuffix});
  DeleteFile(Below(XdgConfigFolder(), install::kMenuMergeFile));
  DeleteFile(Below(XdgDataFolder(), install::kMenuDirectoryFile));
}

void RemoveRegistrations() {
  reg::Key classes, machine;
  if (reg::OpenKey(reg::Hive::ClassesRoot, "", classes) == reg::kSuccess) {
    reg::DeleteKey(classes, ".FLX");
    DeleteKeyTree(classes, "Fluxo");
  }
  if (reg::OpenKey(reg::Hive::LocalMachine, "", machine) == reg::kSuccess)
    reg::DeleteKey(machine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo");
  DeleteFile(Below(XdgDataFolder(), install::kMimePackage));
  DeleteFile(Below(ProgramsFolder(), install::kDisplayOpener));
  RefreshFileTypeDatabases();
}

void RemoveSettings() {
  reg::Key controlPanel;
  if (reg::OpenKey(reg::Hive::CurrentUser, "Control Panel", controlPanel) == reg::kSuccess)
    DeleteKeyTree(controlPanel, SettingsKeyName());
}

void ClearProfileSaver() { ini::WriteProfileString("SYSTEM.INI", "BOOT", "SCRNSAVE.EXE", "(None)"); }

void RemoveXScreenSaverEntry() {
  // A linked file is edited where it lives, and the link stays.
  std::string file = Below(UserHomeFolder(), install::kXScreenSaverFile);
  std::error_code ec;
  if (fs::is_symlink(file, ec)) file = fs::canonical(file, ec).string();
  if (ec) return;
  const auto text = ReadWholeFile(file);
  if (!text) return;
  const ProgramsEdit edit = RemoveProgramEntries(*text, RunsMissingSaver,
                                                 ReadWholeFile(Below(UserHomeFolder(), install::kXScreenSaverBackup)));
  if (edit.removed > 0) ReplaceFile(file, edit.text);
}

}  // namespace fluxo::uninstall

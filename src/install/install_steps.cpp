#include "install/install_steps.h"

#include <unistd.h>

#include <QStandardPaths>
#include <QString>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "install/display_file_type.h"
#include "install/file_copy.h"
#include "install/install_layout.h"
#include "install/launcher_steps.h"
#include "install/program_shortcuts.h"
#include "install/setup_settings.h"
#include "install/xscreensaver_registration.h"
#include "platform/registry/ini_profile.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "settings/display_file.h"
#include "settings/settings_store.h"

namespace fluxo::install {
namespace {

namespace fs = std::filesystem;

constexpr auto kWaitForOldVersions = std::chrono::milliseconds(1000);
constexpr double kPresetProgress = 85.0;

std::string InstalledSaver() { return SystemFolder() + "/" + kSaverProgram; }

// A folder below the installation folder, or the installation folder itself
// when it cannot be made.
std::string SubfolderOr(const std::string& folder, const char* name) {
  const std::string sub = folder + "/" + name;
  CreateFolder(sub);
  return IsFolder(sub) ? sub : folder;
}

// A folder that takes no files would let the installation go on with every
// copy into it failing, and report success all the same.
bool CanCreateFilesIn(const std::string& folder) {
  std::string probe = folder + "/.fluxo-setup-XXXXXX";
  const int fd = mkstemp(probe.data());
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

void Report(const ProgressSink& progress, int value) {
  if (progress) progress(value);
}

// Three attempts, the last after asking the user to close running copies.
bool CopySaver(const SetupSource& source, SetupPrompts& prompts) {
  EnsureFolder(SystemFolder());
  const std::string target = InstalledSaver();
  if (CopyFileReplacing(source.program, target)) return true;
  prompts.Notice("Close old versions",
                 "Please close any old versions of the Fluxonic Screen Saver that might be running and then press OK "
                 "to continue");
  std::this_thread::sleep_for(kWaitForOldVersions);
  return CopyFileOnce(source.program, target);
}

void InstallHelp(const SetupSource& source) {
  const std::string from = source.folder + "/" + kHelpFolder;
  if (!IsFolder(from) || !EnsureFolder(WindowsFolder())) return;
  std::error_code ec;
  fs::copy(from, WindowsFolder() + "/" + kHelpFolder,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
}

void InstallUninstaller(const std::string& folder, const SetupSource& source) {
  if (!CopyFromSource(source.folder, kUninstallProgram, folder, kUninstallProgram)) return;
  WriteMachineString(reg::Hive::LocalMachine, kUninstallKey, "DisplayName", "The Fluxonic Screen Saver");
  WriteMachineString(reg::Hive::LocalMachine, kUninstallKey, "UninstallString",
                     (folder + "/" + kUninstallProgram).c_str());
}

void InstallSlogan(const SetupSource& source) {
  DeleteSettingValue("Slogan");
  std::ifstream in(source.folder + "/" + kSloganFile, std::ios::binary);
  if (!in) return;
  std::string bytes(256, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  WriteSettingText("Slogan", SloganFromBytes(bytes));
}

}  // namespace

SetupSource SetupSourceFolder(const std::string& programPath) {
  std::string program = programPath;
  if (program.find('/') == std::string::npos)
    program = QStandardPaths::findExecutable(QString::fromStdString(program)).toStdString();
  if (program.empty()) {
    std::error_code ec;
    program = fs::read_symlink("/proc/self/exe", ec).string();
  }
  std::error_code ec;
  const fs::path absolute = fs::absolute(program, ec).lexically_normal();
  return {absolute.string(), absolute.parent_path().string()};
}

bool SourceHas(const SetupSource& source, const char* name) {
  std::error_code ec;
  return fs::is_regular_file(source.folder + "/" + name, ec);
}

InstallOptions DefaultOptions(const SetupSource& source) {
  InstallOptions options;
  options.launcher = SourceHas(source, kLauncherProgram);
  options.companion = SourceHas(source, kCompanionProgram);
  return options;
}

std::string DefaultInstallFolder() {
  const std::string recorded = ReadSettingText("FluxoDir");
  return recorded.empty() ? ProgramFilesFolder() + "/Fluxo" : recorded;
}

bool PrepareInstallFolder(std::string& folder) {
  // A relative name would record a folder that depends on where setup ran.
  if (folder.empty() || folder[0] != '/') return false;
  std::string normal = fs::path(folder).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  const fs::path parent = fs::path(normal).parent_path();
  if (parent == fs::path(ProgramFilesFolder()).lexically_normal()) EnsureFolder(parent.string());
  if (!CreateFolder(normal) || !CanCreateFilesIn(normal)) return false;
  folder = normal;
  return true;
}

std::string SloganFromBytes(const std::string& bytes) {
  std::string slogan;
  for (size_t i = 0; i < bytes.size() && i < 255; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 32 || c > 122) break;
    slogan.push_back(static_cast<char>(c));
  }
  return slogan;
}

void MoveDisplayFiles(const std::string& fromFolder, const std::string& toFolder) {
  std::error_code ec;
  if (fs::equivalent(fromFolder, toFolder, ec)) return;
  for (const std::string& name : FilesWithExtension(fromFolder, kDisplayFileExtension))
    MoveFileReplacing(fromFolder + "/" + name, toFolder + "/" + name);
}

void ImportPresetFiles(const std::string& settingsFolder, const SetupSource& source, const ProgressSink& progress) {
  const std::vector<std::string> files = FilesWithExtension(source.folder, kDisplayFileExtension);
  if (files.empty()) return;
  const double step = kPresetProgress / static_cast<double>(files.size());
  double done = 0;
  for (const std::string& name : files) {
    const std::string path = source.folder + "/" + name;
    const std::string display = fs::path(name).stem().string();
    ImportDisplayReport(path.c_str(), display.c_str());
    CopyFileReplacing(path, settingsFolder + "/" + name);
    done += step;
    Report(progress, static_cast<int>(done));
  }
}

int InstallFiles(const std::string& folder, const SetupSource& source, bool loadPresets, SetupPrompts& prompts,
                 const ProgressSink& progress) {
  WriteSettingText("FluxoDir", folder);
  WriteSettingText("PlugInDir", SubfolderOr(folder, kPlugInFolder));
  const std::string settings = SubfolderOr(folder, kSettingsFolder);
  WriteSettingText("FluxoSav", settings);
  // Setup started from the installation folder itself: its presets are
  // imported before they move along with older display files.
  std::error_code ec;
  const bool fromInstallationFolder = fs::equivalent(source.folder, folder, ec);
  if (loadPresets && fromInstallationFolder) ImportPresetFiles(settings, source, progress);
  MoveDisplayFiles(folder, settings);
  if (loadPresets && !fromInstallationFolder) ImportPresetFiles(settings, source, progress);

  const bool saverInstalled = CopySaver(source, prompts);
  if (saverInstalled) RegisterDisplayFileType(InstalledSaver());
  Report(progress, 86);

  InstallHelp(source);
  InstallUninstaller(folder, source);
  Report(progress, 87);

  CopyFileReplacing(source.program, folder + "/" + kConfigureProgram);
  for (const char* name : {kReadMeFile, kFileIdFile, kLicenseFile, kHackDescription})
    CopyFromSource(source.folder, name, folder, name);
  Report(progress, 89);

  InstallSlogan(source);
  WriteSettingText("Exception", "None");
  return saverInstalled ? 1 : 0;
}

void SetAsDefaultSaver() {
  const std::string saver = InstalledSaver();
  WriteMachineString(reg::Hive::CurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE", saver.c_str());
  ini::WriteProfileString("SYSTEM.INI", "boot", "SCRNSAVE.EXE", saver);
  // The desktop's own screen saver is switched on by selecting the saver there.
  RegisterWithXScreenSaver(saver);
}

bool RunInstallation(const std::string& folder, const InstallOptions& options, const SetupSource& source,
                     SetupPrompts& prompts, const ProgressSink& progress) {
  Report(progress, 0);
  if (!InstallFiles(folder, source, options.presets, prompts, progress)) {
    prompts.Stop("Install Problem...",
                 "Unable to install. Please check to make sure that you have enough disk space (about 1MB).");
    return false;
  }
  CreateProgramShortcuts();
  if (options.launcher) InstallLauncher(source.folder, folder);
  Report(progress, 91);
  if (options.desktopConfigure) CreateDesktopConfigureItem();
  Report(progress, 93);
  if (options.companion) InstallCompanion(source.folder, folder);
  Report(progress, 95);
  if (options.defaultSaver) SetAsDefaultSaver();
  Report(progress, 97);
  if (options.desktopSavedDisplays) CreateDesktopSavedDisplaysItem();
  Report(progress, 100);
  return true;
}

}  // namespace fluxo::install

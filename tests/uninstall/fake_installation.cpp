#include "uninstall/fake_installation.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "install/install_layout.h"
#include "platform/registry/ini_profile.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "settings/settings_store.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

namespace fs = std::filesystem;

void Write(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Entry(const std::string& name, const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\n";
}

void SetText(reg::Hive hive, const std::string& path, const char* name, const std::string& text) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(hive, path, key), reg::kSuccess);
  ASSERT_EQ(reg::SetValue(key, name, reg::kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1)), reg::kSuccess);
}

// A user's XScreenSaver settings: four programs, one of them disabled and one
// on a line that continues.
const char kXScreenSaverBefore[] =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "mode:\t\trandom\n"
    "selected:\t1\n"
    "programs:\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze -root\t\t\t\t    \\n\\\n"
    "  GL: \t\t\t\tsuperquadrics -root\t\t\t    \\n\\\n"
    "-\t\t\t\txflame -root\t\t\t\t    \\n\\\n"
    "\t\t\t\tdeco -root\t\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

}  // namespace

void FakeInstallation::SetUp() {
  FreshStore::SetUp();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(TestHome(), ec)) fs::remove_all(entry.path(), ec);

  installation = ProgramFilesFolder() + "/Fluxo";
  const std::string plugIns = installation + "/" + install::kPlugInFolder;
  const std::string settings = installation + "/" + install::kSettingsFolder;
  for (const char* name :
       {install::kUninstallProgram, install::kConfigureProgram, "ReadMe.TXT", "License.TXT", "File_ID.DIZ"})
    Write(installation + "/" + name, std::string("installed ") + name);
  launcher = installation + "/" + install::kLauncherProgram;
  Write(launcher, "launcher");
  userFile = installation + "/my notes.txt";
  Write(userFile, "mine");
  Write(plugIns + "/Lissajous.so", "plug-in");
  Write(settings + "/Aurora.FLX", std::string("\0B\0B", 4));
  Write(settings + "/Ember.flx", std::string("\0B\0B", 4));

  Write(SystemFolder() + "/" + install::kSaverProgram, "saver");
  Write(WindowsFolder() + "/" + install::kHelpFolder + "/index.html", "<html></html>");

  const std::string group = ProgramsFolder() + "/" + install::kProgramGroup;
  for (const char* name : {"Fluxonic Screen Saver", "Help", "Saved Displays", "Release Notes", "UnInstall"})
    Write(group + "/" + name + install::kShortcutSuffix, Entry(name, "true"));
  Write(XdgConfigFolder() + "/" + install::kMenuMergeFile, "<Menu/>\n");
  Write(XdgDataFolder() + "/" + install::kMenuDirectoryFile, "[Desktop Entry]\nType=Directory\n");
  Write(DesktopFolder() + "/" + install::kDesktopConfigure + install::kShortcutSuffix, Entry("Configure", "true"));
  Write(DesktopFolder() + "/" + install::kDesktopSavedDisplays + install::kShortcutSuffix, Entry("Saved", "true"));
  startupEntry = StartupFolder() + "/" + install::kStartupLauncher + install::kShortcutSuffix;
  Write(startupEntry, Entry("Kickoff", launcher));
  Write(XdgDataFolder() + "/" + install::kMimePackage,
        "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/fluxo\"><glob pattern=\"*.flx\"/></mime-type>\n</mime-info>\n");
  Write(ProgramsFolder() + "/" + install::kDisplayOpener, Entry("Fluxo display", "fluxo /S %f"));

  xscreensaverBefore = kXScreenSaverBefore;
  xscreensaverAfter = xscreensaverBefore;
  const std::string lastEntry = "deco -root\t\t\t\t    \\n\n";
  const std::string fluxoEntry = "\t\t\t\t\"Fluxo\" " + SystemFolder() + "/fluxo -root\t    \\n\n";
  xscreensaverAfter.replace(xscreensaverAfter.find(lastEntry), lastEntry.size(),
                            "deco -root\t\t\t\t    \\n\\\n" + fluxoEntry);
  xscreensaverAfter.replace(xscreensaverAfter.find("mode:\t\trandom"), 13, "mode:\t\tone");
  xscreensaverAfter.replace(xscreensaverAfter.find("selected:\t1"), 11, "selected:\t4");
  Write(UserHomeFolder() + "/" + install::kXScreenSaverFile, xscreensaverAfter);
  Write(UserHomeFolder() + "/" + install::kXScreenSaverBackup, xscreensaverBefore);

  const std::string root = std::string("Control Panel\\") + kRootName;
  SetText(reg::Hive::CurrentUser, root, "FluxoDir", installation);
  SetText(reg::Hive::CurrentUser, root, "PlugInDir", plugIns);
  SetText(reg::Hive::CurrentUser, root, "FluxoSav", settings);
  SetText(reg::Hive::CurrentUser, root, "Exception", "None");
  SetText(reg::Hive::CurrentUser, root + "\\Saved Displays\\Aurora\\Modules\\Plasma", "Control0", "x");
  SetText(reg::Hive::ClassesRoot, ".FLX", "", "Fluxo");
  SetText(reg::Hive::ClassesRoot, "Fluxo\\shell\\open\\command", "", "fluxo /S %1");
  SetText(reg::Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo", "DisplayName",
          "The Fluxonic Screen Saver");
  SetText(reg::Hive::CurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE", SystemFolder() + "/fluxo");
  SetText(reg::Hive::CurrentUser, "Software\\Fluxo", "Current Version", "3.9");
  ASSERT_TRUE(ini::WriteProfileString("SYSTEM.INI", "boot", "SCRNSAVE.EXE", SystemFolder() + "/fluxo"));
}

void FakeInstallation::TearDown() { FreshStore::TearDown(); }

std::map<std::string, std::string> FakeInstallation::Files() {
  std::map<std::string, std::string> files;
  const std::string store = fs::path(reg::StorePath()).filename().string();
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(TestHome(), ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.rfind(store, 0) == 0) continue;
    files[fs::relative(entry.path(), TestHome()).string()] = Read(entry.path().string());
  }
  return files;
}

namespace {

void DumpKey(const reg::Key& key, const std::string& path, std::map<std::string, std::vector<uint8_t>>& out) {
  out[path];
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  for (uint32_t i = 0; reg::EnumValue(key, i, name, &type, &data) == reg::kSuccess; ++i) out[path + ":" + name] = data;
  for (uint32_t i = 0; reg::EnumKey(key, i, name) == reg::kSuccess; ++i) {
    reg::Key child;
    if (reg::OpenKey(key, name, child) == reg::kSuccess) DumpKey(child, path + "\\" + name, out);
  }
}

}  // namespace

std::map<std::string, std::vector<uint8_t>> FakeInstallation::Registry() {
  std::map<std::string, std::vector<uint8_t>> all;
  for (reg::Hive hive : {reg::Hive::CurrentUser, reg::Hive::LocalMachine, reg::Hive::ClassesRoot}) {
    reg::Key root;
    if (reg::OpenKey(hive, "", root) == reg::kSuccess) DumpKey(root, reg::HiveName(hive), all);
  }
  return all;
}

bool FakeInstallation::Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

std::string FakeInstallation::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FakeInstallation::KeyPresent(reg::Hive hive, const std::string& path) {
  reg::Key key;
  return reg::OpenKey(hive, path, key) == reg::kSuccess;
}

}  // namespace fluxo::test

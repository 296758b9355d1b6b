#include "install/setup_wizard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTest>
#include <chrono>
#include <thread>

#include "install/setup_entry.h"
#include "install/setup_fixture.h"
#include "install/setup_settings.h"
#include "platform/registry/ini_profile.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "settings/saved_displays.h"

namespace fluxo::test {
namespace {

using install::SetupWizard;

// Spelled out: the uninstall entry's key is read by the desktop's tools.
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo";

class SetupWizardTest : public SetupTest {
 protected:
  std::unique_ptr<SetupWizard> StartWizard(bool rootExisted = true) {
    auto wizard = std::make_unique<SetupWizard>(source, rootExisted, prompts);
    wizard->show();
    EXPECT_EQ(wizard->currentId(), SetupWizard::kDirectoryPage);
    return wizard;
  }
  static QLineEdit* FolderEdit(SetupWizard& w) { return w.findChild<QLineEdit*>("folder"); }
  static QCheckBox* Option(SetupWizard& w, const char* name) { return w.findChild<QCheckBox*>(name); }
  static int Progress(SetupWizard& w) { return w.findChild<QProgressBar*>("progress")->value(); }

  // Both "Next" presses with the folder typed in; the wizard on its last page.
  void InstallWithWizard(const std::string& folder) {
    auto wizard = StartWizard();
    FolderEdit(*wizard)->setText(QString::fromStdString(folder));
    wizard->next();
    ASSERT_EQ(wizard->currentId(), SetupWizard::kOptionsPage);
    wizard->next();
    ASSERT_EQ(wizard->currentId(), SetupWizard::kConfigurePage) << "install failed";
    EXPECT_EQ(Progress(*wizard), 100);
  }

  static bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 100 && !Exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return Exists(path);
  }
};

TEST_F(SetupWizardTest, InstallingPutsEveryPieceInPlace) {
  FillRelease();
  const std::string folder = TestHome() + "/programs/My Fluxo";
  std::filesystem::create_directories(TestHome() + "/programs");
  InstallWithWizard(folder);
  EXPECT_TRUE(prompts.shown.empty());

  // Files: the saver, the configuration copy, the uninstaller, read-me files, help.
  EXPECT_EQ(ReadFile(SystemFolder() + "/fluxo"), ReadFile(source.program));
  EXPECT_EQ(ReadFile(folder + "/Fluxo"), ReadFile(source.program));
  EXPECT_EQ(std::filesystem::status(SystemFolder() + "/fluxo").permissions() & std::filesystem::perms::owner_exec,
            std::filesystem::perms::owner_exec);
  for (const char* name : {"fluxo-uninstall", "ReadMe.TXT", "License.TXT", "File_ID.DIZ", "fluxo.xml", "Kickoff"})
    EXPECT_EQ(ReadFile(folder + "/" + name), ReadFile(source.folder + "/" + name)) << name;
  EXPECT_EQ(ReadFile(WindowsFolder() + "/help/pages/palette.html"), "<html>palette</html>\n");

  // Settings.
  EXPECT_EQ(install::ReadSettingText("FluxoDir"), folder);
  EXPECT_EQ(install::ReadSettingText("PlugInDir"), folder + "/PlugIns");
  EXPECT_EQ(install::ReadSettingText("FluxoSav"), folder + "/Settings");
  EXPECT_EQ(install::ReadSettingText("Slogan"), "Feel the music");
  EXPECT_EQ(install::ReadSettingText("Exception"), "None");
  EXPECT_EQ(MachineText(reg::Hive::LocalMachine, kUninstallKey, "DisplayName"), "The Fluxonic Screen Saver");
  EXPECT_EQ(MachineText(reg::Hive::LocalMachine, kUninstallKey, "UninstallString"), folder + "/fluxo-uninstall");
  EXPECT_EQ(MachineText(reg::Hive::ClassesRoot, ".FLX", ""), "Fluxo");
  EXPECT_NE(MachineText(reg::Hive::ClassesRoot, "Fluxo\\shell\\open\\command", ""), "<missing>");
  EXPECT_EQ(MachineText(reg::Hive::CurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE"), SystemFolder() + "/fluxo");
  EXPECT_EQ(ini::ReadProfileString("SYSTEM.INI", "boot", "SCRNSAVE.EXE", ""), SystemFolder() + "/fluxo");

  // Presets: imported under their base names and copied into the settings folder.
  EXPECT_TRUE(DisplayExists("Deep Pulse"));
  EXPECT_TRUE(DisplayExists("Ember"));
  EXPECT_TRUE(Exists(folder + "/Settings/Deep Pulse.FLX"));
  EXPECT_TRUE(Exists(folder + "/Settings/Ember.flx"));

  // The menu group, its submenu files and the file type.
  const std::string group = ProgramsFolder() + "/The Fluxonic Screen Saver/";
  for (const char* entry : {"Fluxonic Screen Saver", "Help", "Saved Displays", "Release Notes", "UnInstall"})
    EXPECT_TRUE(Exists(group + entry + ".desktop")) << entry;
  const std::string saverEntry = ReadFile(group + "Fluxonic Screen Saver.desktop");
  EXPECT_NE(saverEntry.find("Exec=\"" + folder + "/Fluxo\" /c\n"), std::string::npos) << saverEntry;
  EXPECT_NE(saverEntry.find("Categories=X-Fluxonic-Screen-Saver;"), std::string::npos);
  EXPECT_NE(ReadFile(XdgConfigFolder() + "/menus/applications-merged/fluxo.menu").find("X-Fluxonic-Screen-Saver"),
            std::string::npos);
  EXPECT_TRUE(Exists(XdgDataFolder() + "/desktop-directories/fluxo.directory"));
  const std::string mime = ReadFile(XdgDataFolder() + "/mime/packages/fluxo.xml");
  EXPECT_NE(mime.find("application/fluxo"), std::string::npos);
  EXPECT_NE(mime.find("value=\"0x00420042\""), std::string::npos);
  // Where the desktop's tool is installed it has taken the package in.
  if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
    EXPECT_TRUE(Exists(XdgDataFolder() + "/mime/application/fluxo.xml"));
  }
  const std::string opener = ReadFile(ProgramsFolder() + "/fluxo-display.desktop");
  EXPECT_NE(opener.find("Exec=" + SystemFolder() + "/fluxo /S %f"), std::string::npos) << opener;
  EXPECT_NE(opener.find("MimeType=application/fluxo;"), std::string::npos);

  // The launcher starts at log-in; the companion was installed and its
  // installer ran from the installation folder, so what it records stays
  // valid once the release folder is gone.
  EXPECT_TRUE(Exists(StartupFolder() + "/Kickoff.desktop"));
  EXPECT_EQ(ReadFile(folder + "/tonewell"), ReadFile(source.folder + "/tonewell"));
  ASSERT_TRUE(WaitForFile(source.folder + "/companion-ran"));
  EXPECT_EQ(ReadFile(source.folder + "/companion-ran"), folder + "/tonewell --install\n");

  // XScreenSaver runs the installed saver and only it.
  const std::string xss = ReadFile(UserHomeFolder() + "/.xscreensaver");
  EXPECT_NE(xss.find(SystemFolder() + "/fluxo -root"), std::string::npos) << xss;
  EXPECT_NE(xss.find("mode:\t\tone\n"), std::string::npos);
  EXPECT_NE(xss.find("selected:\t\t0\n"), std::string::npos);

  // Desktop items were not asked for.
  EXPECT_FALSE(Exists(DesktopFolder() + "/Fluxo SS - Configure.desktop"));
}

TEST_F(SetupWizardTest, PagesGoForwardOnlyUnderTheirTitles) {
  auto wizard = StartWizard();
  EXPECT_EQ(wizard->windowTitle().toStdString(), "Setup for Fluxo v3.9.990");
  EXPECT_EQ(wizard->page(SetupWizard::kDirectoryPage)->title().toStdString(), "Directory");
  EXPECT_EQ(wizard->page(SetupWizard::kOptionsPage)->title().toStdString(), "Options");
  EXPECT_EQ(wizard->page(SetupWizard::kConfigurePage)->title().toStdString(), "Configure");
  auto shown = [&wizard](QWizard::WizardButton b) { return wizard->button(b)->isVisible(); };
  EXPECT_TRUE(shown(QWizard::NextButton));
  EXPECT_FALSE(shown(QWizard::BackButton));
  EXPECT_FALSE(shown(QWizard::FinishButton));
  FolderEdit(*wizard)->setText(QString::fromStdString(TestHome() + "/f"));
  wizard->next();
  wizard->next();
  ASSERT_EQ(wizard->currentId(), SetupWizard::kConfigurePage);
  EXPECT_TRUE(shown(QWizard::FinishButton));
  EXPECT_FALSE(shown(QWizard::NextButton));
  EXPECT_FALSE(shown(QWizard::BackButton));
  EXPECT_FALSE(shown(QWizard::CancelButton));
}

TEST_F(SetupWizardTest, AnUnattendedRunInstallsWithTheDefaultsOrRefusesABadFolder) {
  WriteDisplayFile(source.folder + "/Glow.FLX", 2);
  const std::string folder = TestHome() + "/quiet";
  std::string program = source.program, flag = "--unattended", target = folder;
  char* argv[] = {program.data(), flag.data(), target.data(), nullptr};
  EXPECT_EQ(install::RunSetup(3, argv), 0);
  EXPECT_EQ(install::ReadSettingText("FluxoDir"), folder);
  EXPECT_TRUE(DisplayExists("Glow"));
  EXPECT_NE(ReadFile(UserHomeFolder() + "/.xscreensaver").find("/fluxo -root"), std::string::npos);

  target = "not/absolute";
  argv[2] = target.data();
  EXPECT_EQ(install::RunSetup(3, argv), 1);
}

TEST_F(SetupWizardTest, AnInvalidFolderKeepsTheWizardOnTheFirstPage) {
  auto wizard = StartWizard();
  const std::string folder = TestHome() + "/no/such/parent";
  FolderEdit(*wizard)->setText(QString::fromStdString(folder));
  wizard->next();
  EXPECT_EQ(wizard->currentId(), SetupWizard::kDirectoryPage);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].first, "Invalid directory name!");
  EXPECT_EQ(prompts.shown[0].second, folder);
  EXPECT_EQ(install::ReadSettingText("FluxoDir"), "");

  FolderEdit(*wizard)->setText("relative/Fluxo");
  wizard->next();
  EXPECT_EQ(wizard->currentId(), SetupWizard::kDirectoryPage);

  // A file, and a folder that takes no files (not even from root), are no
  // installation folders either.
  const std::string file = TestHome() + "/a file";
  WriteFile(file, "x");
  for (const std::string& bad : {file, std::string("/proc")}) {
    prompts.shown.clear();
    FolderEdit(*wizard)->setText(QString::fromStdString(bad));
    wizard->next();
    EXPECT_EQ(wizard->currentId(), SetupWizard::kDirectoryPage) << bad;
    ASSERT_EQ(prompts.shown.size(), 1u) << bad;
    EXPECT_EQ(prompts.shown[0].first, "Invalid directory name!");
  }
  EXPECT_EQ(install::ReadSettingText("FluxoDir"), "");
}

TEST_F(SetupWizardTest, ASecondSetupProposesTheRecordedFolder) {
  auto first = StartWizard();
  EXPECT_EQ(FolderEdit(*first)->text().toStdString(), ProgramFilesFolder() + "/Fluxo");
  // A fresh account has no program files folder yet: the default is made anyway.
  ASSERT_FALSE(Exists(ProgramFilesFolder()));
  first->next();
  EXPECT_EQ(first->currentId(), SetupWizard::kOptionsPage);
  EXPECT_TRUE(prompts.shown.empty());
  first.reset();

  const std::string folder = TestHome() + "/elsewhere";
  InstallWithWizard(TestHome() + "//elsewhere/");  // recorded in its plain form
  auto second = StartWizard();
  EXPECT_EQ(FolderEdit(*second)->text().toStdString(), folder);
}

TEST_F(SetupWizardTest, OptionsFollowWhatTheReleaseHoldsAndWhetherSettingsExisted) {
  auto wizard = StartWizard(/*rootExisted=*/false);
  FolderEdit(*wizard)->setText(QString::fromStdString(TestHome() + "/f"));
  wizard->next();
  ASSERT_EQ(wizard->currentId(), SetupWizard::kOptionsPage);
  // Without earlier settings the presets are installed in any case.
  EXPECT_TRUE(Option(*wizard, "presets")->isChecked());
  EXPECT_FALSE(Option(*wizard, "presets")->isEnabled());
  // Nothing of the companion or the launcher beside setup.
  EXPECT_FALSE(Option(*wizard, "companion")->isChecked());
  EXPECT_TRUE(Option(*wizard, "companion")->isHidden());
  EXPECT_FALSE(Option(*wizard, "launcher")->isChecked());
  EXPECT_TRUE(Option(*wizard, "launcher")->isHidden());
  EXPECT_TRUE(Option(*wizard, "defaultSaver")->isChecked());
  EXPECT_FALSE(Option(*wizard, "desktopConfigure")->isChecked());
  EXPECT_FALSE(Option(*wizard, "desktopSavedDisplays")->isChecked());

  // The desktop items when asked for.
  Option(*wizard, "desktopConfigure")->setChecked(true);
  Option(*wizard, "desktopSavedDisplays")->setChecked(true);
  Option(*wizard, "defaultSaver")->setChecked(false);
  wizard->next();
  ASSERT_EQ(wizard->currentId(), SetupWizard::kConfigurePage);
  EXPECT_NE(ReadFile(DesktopFolder() + "/Fluxo SS - Configure.desktop").find("/f/Fluxo /c"), std::string::npos);
  EXPECT_NE(ReadFile(DesktopFolder() + "/Fluxo SS - Saved Displays.desktop").find("xdg-open"), std::string::npos);
  EXPECT_FALSE(Exists(UserHomeFolder() + "/.xscreensaver"));
  EXPECT_FALSE(Exists(StartupFolder() + "/Kickoff.desktop"));
}

TEST_F(SetupWizardTest, NoPresetsBesideSetupStillEndsAtFullProgress) {
  const std::string folder = TestHome() + "/bare";
  std::filesystem::create_directories(folder);
  std::vector<int> seen;
  ASSERT_TRUE(install::RunInstallation(folder, install::DefaultOptions(source), source, prompts,
                                       [&seen](int value) { seen.push_back(value); }));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  // Without a slogan file none is stored.
  EXPECT_EQ(install::ReadSettingText("Slogan"), "");
}

TEST_F(SetupWizardTest, PresetProgressIsShared) {
  for (int i = 0; i < 3; ++i) WriteDisplayFile(source.folder + "/P" + std::to_string(i) + ".FLX", 1);
  std::filesystem::create_directories(TestHome() + "/s");
  std::vector<int> seen;
  install::ImportPresetFiles(TestHome() + "/s", source, [&seen](int value) { seen.push_back(value); });
  EXPECT_EQ(seen, (std::vector<int>{28, 56, 85}));
}

TEST_F(SetupWizardTest, DisplayFilesLeftInTheFolderMoveToSettings) {
  const std::string folder = TestHome() + "/old";
  WriteDisplayFile(folder + "/Mine.FLX", 9);
  WriteFile(folder + "/notes.txt", "mine");
  ASSERT_TRUE(install::InstallFiles(folder, source, false, prompts, nullptr));
  EXPECT_FALSE(Exists(folder + "/Mine.FLX"));
  EXPECT_TRUE(Exists(folder + "/Settings/Mine.FLX"));
  EXPECT_TRUE(Exists(folder + "/notes.txt"));
}

TEST_F(SetupWizardTest, InstallingIntoTheFolderSetupRunsFromStillImportsItsPresets) {
  FillRelease();
  ASSERT_TRUE(install::RunInstallation(source.folder, install::InstallOptions{}, source, prompts, nullptr));
  EXPECT_TRUE(DisplayExists("Deep Pulse"));
  EXPECT_TRUE(DisplayExists("Ember"));
  EXPECT_TRUE(Exists(source.folder + "/Settings/Deep Pulse.FLX"));
  EXPECT_FALSE(Exists(source.folder + "/Deep Pulse.FLX"));
}

TEST_F(SetupWizardTest, ASaverThatCannotBeReplacedStopsOnTheOptionsPageUntilItCan) {
  // A folder where the saver belongs cannot be replaced by a file.
  const std::string blocked = SystemFolder() + "/fluxo";
  WriteFile(blocked + "/inside", "x");
  auto wizard = StartWizard();
  FolderEdit(*wizard)->setText(QString::fromStdString(TestHome() + "/f"));
  wizard->next();
  wizard->next();
  EXPECT_EQ(wizard->currentId(), SetupWizard::kOptionsPage);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].first, "Close old versions");
  EXPECT_EQ(prompts.shown[1].first, "Install Problem...");
  EXPECT_EQ(prompts.shown[1].second,
            "Unable to install. Please check to make sure that you have enough disk space (about 1MB).");

  std::filesystem::remove_all(blocked);
  wizard->next();
  EXPECT_EQ(wizard->currentId(), SetupWizard::kConfigurePage);
  EXPECT_EQ(prompts.shown.size(), 2u);
}

}  // namespace
}  // namespace fluxo::test

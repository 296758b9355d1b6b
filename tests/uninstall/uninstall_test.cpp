#include <signal.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "install/install_layout.h"
#include "platform/registry/ini_profile.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "platform/system/process.h"
#include "support/test_environment.h"
#include "uninstall/fake_installation.h"
#include "uninstall/uninstaller.h"

namespace fluxo::test {
namespace {

namespace fs = std::filesystem;
using uninstall::Question;

struct Answers {
  bool remove = true;
  bool launcher = true;
  int asked = 0;
  bool notified = false;
};

int Uninstall(Answers& answers) {
  uninstall::Prompts prompts;
  prompts.ask = [&](Question q) {
    ++answers.asked;
    return q == Question::RemoveSaver ? answers.remove : answers.launcher;
  };
  prompts.done = [&] { answers.notified = true; };
  return uninstall::RunUninstall(prompts);
}

// The desktop's own caches, which its tools rebuild after a file type goes.
bool IsGeneratedCache(const std::string& relative) {
  return (relative.rfind("share/mime/", 0) == 0 && relative.find("/packages/") == std::string::npos) ||
         relative == "share/applications/mimeinfo.cache";
}

using UninstallTest = FakeInstallation;

TEST_F(UninstallTest, AnsweringNoChangesNothing) {
  const auto files = Files();
  const auto registry = Registry();
  Answers answers{.remove = false};
  EXPECT_EQ(Uninstall(answers), 1);
  EXPECT_EQ(answers.asked, 1);
  EXPECT_FALSE(answers.notified);
  EXPECT_EQ(Files(), files);
  EXPECT_EQ(Registry(), registry);
}

TEST_F(UninstallTest, YesRemovesWhatSetupCreatedAndKeepsTheUsersOwn) {
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_EQ(answers.asked, 2);
  EXPECT_TRUE(answers.notified);

  // What stays: the user's file with its folder, the help pages, the
  // profile, the user's XScreenSaver settings and their backup.
  const std::set<std::string> kept = {
      fs::relative(userFile, TestHome()).string(),
      fs::relative(WindowsFolder() + "/help/index.html", TestHome()).string(),
      fs::relative(ini::ProfilePath("SYSTEM.INI"), TestHome()).string(),
      fs::relative(ini::ProfilePath("SYSTEM.INI") + ".lock", TestHome()).string(),
      fs::relative(UserHomeFolder() + "/.xscreensaver", TestHome()).string(),
      fs::relative(UserHomeFolder() + "/.xscreensaver.before-fluxo", TestHome()).string(),
  };
  for (const auto& [path, bytes] : Files())
    EXPECT_TRUE(kept.count(path) || IsGeneratedCache(path)) << path << " was left behind";
  EXPECT_TRUE(Exists(userFile));
  for (const char* folder : {install::kPlugInFolder, install::kSettingsFolder})
    EXPECT_FALSE(Exists(installation + "/" + folder)) << folder;
  EXPECT_FALSE(Exists(ProgramsFolder() + "/" + install::kProgramGroup));

  EXPECT_FALSE(KeyPresent(reg::Hive::CurrentUser, std::string("Control Panel\\") + "Screen Saver.Fluxo"));
  EXPECT_FALSE(KeyPresent(reg::Hive::ClassesRoot, ".FLX"));
  EXPECT_FALSE(KeyPresent(reg::Hive::ClassesRoot, "Fluxo"));
  EXPECT_FALSE(KeyPresent(reg::Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo"));
  EXPECT_EQ(ini::ReadProfileString("SYSTEM.INI", "boot", "SCRNSAVE.EXE", ""), "(None)");
}

TEST_F(UninstallTest, TheDesktopToolsItRunsSayNothingToItsUser) {
  // update-mime-database gives advice whenever the data folder is not among
  // the desktop's search paths, as the test's folder is not.
  if (!fs::exists("/usr/bin/update-mime-database")) GTEST_SKIP() << "update-mime-database is not installed";
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  Answers answers;
  const int status = Uninstall(answers);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(status, 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
}

TEST_F(UninstallTest, TheUsersScreenSaverSettingAndVersionStampStay) {
  const auto before = Registry();
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  const auto after = Registry();
  for (const char* value : {"HKEY_CURRENT_USER\\Control Panel\\Desktop:SCRNSAVE.EXE",
                            "HKEY_CURRENT_USER\\Software\\Fluxo:Current Version"}) {
    ASSERT_TRUE(after.count(value)) << value;
    EXPECT_EQ(after.at(value), before.at(value)) << value;
  }
}

TEST_F(UninstallTest, TheXScreenSaverEntryGoesAndTheRestOfTheFileIsAsBefore) {
  const std::string file = UserHomeFolder() + "/.xscreensaver";
  ASSERT_NE(Read(file), xscreensaverBefore);
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_EQ(Read(file), xscreensaverBefore);
}

TEST_F(UninstallTest, ALinkedXScreenSaverFileIsEditedWhereItLivesAndStaysLinked) {
  const std::string file = UserHomeFolder() + "/.xscreensaver";
  const std::string kept = TestHome() + "/dotfiles/xscreensaver";
  fs::create_directories(fs::path(kept).parent_path());
  fs::rename(file, kept);
  fs::create_symlink(kept, file);
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(Read(kept), xscreensaverBefore);
}

TEST_F(UninstallTest, AnXScreenSaverEntryOfAFluxoThatStaysIsKept) {
  // A system-wide Fluxo beside the one this uninstaller removes.
  const std::string other = TestHome() + "/usr/bin/fluxo";
  fs::create_directories(fs::path(other).parent_path());
  std::ofstream(other) << "saver";
  const std::string file = UserHomeFolder() + "/.xscreensaver";
  const std::string text =
      "mode:\tone\nselected:\t1\nprograms:\t\\\n"
      "\t\t" +
      SystemFolder() +
      "/fluxo -root\t\\n\\\n"
      "\t\t" +
      other + " -root\t\\n\n";
  std::ofstream(file, std::ios::trunc) << text;
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_EQ(Read(file), "mode:\tone\nselected:\t0\nprograms:\t\\\n\t\t" + other + " -root\t\\n\n");
}

TEST_F(UninstallTest, KeepingTheLauncherKeepsOnlyTheLauncher) {
  Answers answers{.launcher = false};
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_EQ(answers.asked, 2);
  EXPECT_TRUE(Exists(launcher));
  EXPECT_TRUE(Exists(startupEntry));
  EXPECT_TRUE(Exists(userFile));
  EXPECT_FALSE(Exists(SystemFolder() + "/fluxo"));
  for (const char* name : {install::kUninstallProgram, install::kConfigureProgram, "ReadMe.TXT", "License.TXT",
                           "File_ID.DIZ", install::kPlugInFolder, install::kSettingsFolder})
    EXPECT_FALSE(Exists(installation + "/" + name)) << name;
  EXPECT_FALSE(KeyPresent(reg::Hive::ClassesRoot, ".FLX"));
}

TEST_F(UninstallTest, RemovingTheLauncherEndsTheRunningOneAndItsStartupEntry) {
  // A stand-in launcher: a copy of sleep running from the installation folder.
  fs::copy_file("/bin/sleep", launcher, fs::copy_options::overwrite_existing);
  fs::permissions(launcher, fs::perms::owner_all);
  const pid_t pid = SpawnProcess({launcher, "600"});
  ASSERT_GT(pid, 0);
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  int status = 0;
  ASSERT_TRUE(WaitForProcess(pid, 10000, &status)) << "the launcher still runs";
  EXPECT_EQ(status, 128 + SIGTERM);
  EXPECT_FALSE(Exists(launcher));
  EXPECT_FALSE(Exists(startupEntry));
  EXPECT_FALSE(Exists(installation + "/ReadMe.TXT"));
}

TEST_F(UninstallTest, UserFilesInTheSettingsAndPlugInFoldersKeepTheirFolders) {
  const std::string settings = installation + "/" + install::kSettingsFolder;
  const std::string plugIns = installation + "/" + install::kPlugInFolder;
  fs::create_directories(settings);
  std::ofstream(settings + "/palette.PAL") << "mine";
  std::ofstream(plugIns + "/readme.txt") << "mine";
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  EXPECT_TRUE(Exists(settings + "/palette.PAL"));
  EXPECT_TRUE(Exists(plugIns + "/readme.txt"));
  EXPECT_FALSE(Exists(settings + "/Aurora.FLX"));
  EXPECT_FALSE(Exists(settings + "/Ember.flx"));
  EXPECT_FALSE(Exists(plugIns + "/Lissajous.so"));
}

TEST_F(UninstallTest, WithoutRecordedFoldersOnlyTheKnownPlacesAreTouched) {
  reg::Key root;
  ASSERT_EQ(reg::OpenKey(reg::Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo", root), reg::kSuccess);
  for (const char* name : {"FluxoDir", "FluxoSav", "PlugInDir"}) reg::DeleteValue(root, name);
  Answers answers;
  ASSERT_EQ(Uninstall(answers), 0);
  // The installation folder is unknown now, so it stays whole.
  EXPECT_TRUE(Exists(installation + "/ReadMe.TXT"));
  EXPECT_TRUE(Exists(installation + "/Settings/Aurora.FLX"));
  EXPECT_FALSE(Exists(SystemFolder() + "/fluxo"));
  EXPECT_FALSE(KeyPresent(reg::Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo"));
}

}  // namespace
}  // namespace fluxo::test

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <thread>

#include "install/desktop_entry.h"
#include "install/launcher_steps.h"
#include "install/setup_entry.h"
#include "install/setup_fixture.h"
#include "platform/system/install_folders.h"
#include "platform/system/process.h"

namespace fluxo::test {
namespace {

TEST(SetupName, OnlyTheProgramsOwnNameDecides) {
  EXPECT_TRUE(install::IsSetupProgram("/media/cd/MySetup.exe"));
  EXPECT_TRUE(install::IsSetupProgram("/media/cd/SETUP.EXE"));
  EXPECT_TRUE(install::IsSetupProgram("fluxo-setup"));
  EXPECT_FALSE(install::IsSetupProgram("/media/cd/install.exe"));
  EXPECT_FALSE(install::IsSetupProgram("/home/u/setup/build/fluxo"));
}

TEST(Slogan, StopsAtTheFirstByteOutsideTheAllowedRangeAndAt255Bytes) {
  EXPECT_EQ(install::SloganFromBytes("Feel it\r\nagain"), "Feel it");
  EXPECT_EQ(install::SloganFromBytes("a{b"), "a");  // '{' is 123
  EXPECT_EQ(install::SloganFromBytes(" !zZ"), " !zZ");
  EXPECT_EQ(install::SloganFromBytes(std::string(256, 'x')), std::string(255, 'x'));
  EXPECT_EQ(install::SloganFromBytes(""), "");
}

TEST(DesktopExec, WordsWithReservedCharactersAreQuotedAndPercentSignsDoubled) {
  EXPECT_EQ(install::DesktopExecLine({"/opt/My Fluxo/Fluxo", "/c"}), "\"/opt/My Fluxo/Fluxo\" /c");
  EXPECT_EQ(install::DesktopExecLine({"/opt/a$b\"c", "%f"}), "\"/opt/a\\$b\\\"c\" %f");
  EXPECT_EQ(install::DesktopExecLine({"/opt/100%/fluxo"}), "/opt/100%%/fluxo");
  // The file's own escaping doubles the backslash once more.
  const std::string text = install::ApplicationEntryText("x", install::DesktopExecLine({"/a\\b c"}));
  EXPECT_NE(text.find("Exec=\"/a\\\\\\\\b c\"\n"), std::string::npos) << text;
}

using DesktopEntryTest = SetupTest;

TEST_F(DesktopEntryTest, AnEntryIsNamedAfterItsFileAndDescribedOnlyWhenTheDescriptionSaysMore) {
  const std::string folder = TestHome() + "/entries";
  std::filesystem::create_directories(folder);
  ASSERT_EQ(install::CreateShortcut(folder, folder + "/Help.desktop", "Help"), 1);
  const std::string help = ReadFile(folder + "/Help.desktop");
  EXPECT_NE(help.find("\nName=Help\n"), std::string::npos) << help;
  EXPECT_EQ(help.find("Comment="), std::string::npos) << help;
  ASSERT_EQ(install::CreateShortcut(folder, folder + "/Kickoff.desktop", "SS Kickoff v3.0"), 1);
  const std::string launcher = ReadFile(folder + "/Kickoff.desktop");
  EXPECT_NE(launcher.find("\nName=Kickoff\n"), std::string::npos) << launcher;
  EXPECT_NE(launcher.find("\nComment=SS Kickoff v3.0\n"), std::string::npos) << launcher;
}

// Every entry setup writes passes the desktop's own checker without errors
// or warnings, also for an installation folder with quotes, blanks, a
// backslash and a percent sign in its name.
TEST_F(DesktopEntryTest, EveryEntrySetupWritesIsValid) {
  const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
  if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate is not installed";
  FillRelease();
  std::string folder = TestHome() + "/My \"Fluxo\" it's 100% \\ $HOME";
  ASSERT_TRUE(install::PrepareInstallFolder(folder));
  install::InstallOptions options;
  options.desktopConfigure = options.desktopSavedDisplays = true;
  ASSERT_TRUE(install::RunInstallation(folder, options, source, prompts, nullptr));
  int entries = 0;
  for (const auto& file : std::filesystem::recursive_directory_iterator(TestHome())) {
    const std::string extension = file.path().extension().string();
    if (extension != ".desktop" && extension != ".directory") continue;
    ++entries;
    QProcess check;
    check.start(validator, {QString::fromStdString(file.path().string())});
    ASSERT_TRUE(check.waitForFinished(30000));
    const QString report = QString::fromLocal8Bit(check.readAllStandardOutput() + check.readAllStandardError());
    EXPECT_EQ(check.exitCode(), 0) << report.toStdString();
    EXPECT_FALSE(report.contains("error:") || report.contains("warning:")) << report.toStdString();
  }
  EXPECT_EQ(entries, 10);  // the group's five, its directory, the opener, two desktop items, the launcher
}

class LauncherTest : public SetupTest {};

TEST_F(LauncherTest, RunningLaunchersAreClosedAndTheNewOneIsSetUp) {
  const std::string old = TestHome() + "/old/Kickoff";
  WriteFile(old, "#!/bin/sh\nsleep 30\n", 0755);
  const pid_t running = SpawnProcess({old});
  ASSERT_GT(running, 0);
  // The shell names itself after the script once it has started. (Tests
  // running beside this one may have launchers of their own.)
  auto found = [running] {
    const std::vector<pid_t> pids = install::FindUserProcesses("Kickoff");
    return std::find(pids.begin(), pids.end(), running) != pids.end();
  };
  for (int i = 0; i < 100 && !found(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(found());

  WriteFile(source.folder + "/Kickoff", "#!/bin/sh\nexit 0\n", 0755);
  WriteFile(StartupFolder() + "/Kickoff", "an old copy");
  const std::string folder = TestHome() + "/f";
  std::filesystem::create_directories(folder);
  install::InstallLauncher(source.folder, folder);

  int status = 0;
  EXPECT_TRUE(WaitForProcess(running, 1000, &status));
  EXPECT_EQ(status, 128 + SIGTERM);
  EXPECT_FALSE(Exists(StartupFolder() + "/Kickoff"));
  EXPECT_EQ(ReadFile(folder + "/Kickoff"), ReadFile(source.folder + "/Kickoff"));
  EXPECT_NE(ReadFile(StartupFolder() + "/Kickoff.desktop").find("Exec=" + folder + "/Kickoff\n"), std::string::npos);
}

}  // namespace
}  // namespace fluxo::test

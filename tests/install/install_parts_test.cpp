#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

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

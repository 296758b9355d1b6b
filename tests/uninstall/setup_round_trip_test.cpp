#include <filesystem>
#include <set>
#include <string>

#include "install/setup_entry.h"
#include "install/setup_fixture.h"
#include "platform/system/install_folders.h"
#include "settings/saved_displays.h"
#include "uninstall/uninstaller.h"

namespace fluxo::test {
namespace {

namespace fs = std::filesystem;

// Everything under the test home that is not the settings folder, the help
// pages, the XScreenSaver file or a cache the desktop's tools regenerate.
std::set<std::string> LeftOver() {
  std::set<std::string> files;
  const fs::path home = TestHome();
  for (const auto& entry : fs::recursive_directory_iterator(home)) {
    const std::string relative = fs::relative(entry.path(), home).string();
    const bool kept = relative.rfind("config", 0) == 0 || relative.rfind("data", 0) == 0 ||
                      relative.rfind("home", 0) == 0 || relative.rfind("release", 0) == 0 ||
                      (relative.rfind("share/mime/", 0) == 0 && relative.find("packages/") == std::string::npos) ||
                      relative == "share/applications/mimeinfo.cache";
    if (!kept && !entry.is_directory()) files.insert(relative);
  }
  return files;
}

using SetupRoundTripTest = SetupTest;

// Whatever setup installs, the uninstaller knows: nothing of it is left.
TEST_F(SetupRoundTripTest, TheUninstallerRemovesEverySetupFileButTheUsersOwn) {
  FillRelease();
  const std::string folder = TestHome() + "/installed";
  std::string program = source.program, flag = "--unattended", target = folder;
  char* argv[] = {program.data(), flag.data(), target.data(), nullptr};
  ASSERT_EQ(install::RunSetup(3, argv), 0);
  ASSERT_TRUE(DisplayExists("Deep Pulse"));
  WriteFile(folder + "/my notes.txt", "mine\n");

  uninstall::Prompts prompts;
  prompts.ask = [](uninstall::Question) { return true; };
  prompts.done = [] {};
  ASSERT_EQ(uninstall::RunUninstall(prompts), 0);

  EXPECT_EQ(LeftOver(), std::set<std::string>{"installed/my notes.txt"});
  EXPECT_FALSE(DisplayExists("Deep Pulse"));
  EXPECT_EQ(ReadFile(UserHomeFolder() + "/.xscreensaver").find("fluxo"), std::string::npos);
  // The desktop's cache of file-type openers, where its tool is installed, is
  // rebuilt without the display opener.
  const std::string openers = XdgDataFolder() + "/applications/mimeinfo.cache";
  if (Exists(openers)) {
    EXPECT_EQ(ReadFile(openers).find("fluxo"), std::string::npos);
  }
}

}  // namespace
}  // namespace fluxo::test

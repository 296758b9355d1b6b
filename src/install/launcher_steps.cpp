#include "install/launcher_steps.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "install/desktop_entry.h"
#include "install/file_copy.h"
#include "install/install_layout.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"
#include "platform/system/process.h"
#include "sound/sound_feed.h"

namespace fluxo::install {
namespace {

namespace fs = std::filesystem;

constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr int kPollsPerLauncher = 50;
// The kernel keeps at most 15 characters of a program's name.
constexpr size_t kProcessNameLimit = 15;

bool IsRunning(pid_t pid) {
  // A process that ended but was not yet reaped by its parent is gone too.
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

void DeleteFile(const std::string& path) {
  if (unlink(path.c_str()) != 0) {
    chmod(path.c_str(), 0644);
    unlink(path.c_str());
  }
}

}  // namespace

std::vector<pid_t> FindUserProcesses(const std::string& name) {
  std::vector<pid_t> found;
  const std::string wanted = name.substr(0, kProcessNameLimit);
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (entry.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat st;
    if (stat(it->path().c_str(), &st) != 0 || st.st_uid != getuid()) continue;
    std::ifstream comm(it->path() / "comm");
    std::string program;
    if (!std::getline(comm, program) || program != wanted) continue;
    const pid_t pid = static_cast<pid_t>(std::strtol(entry.c_str(), nullptr, 10));
    if (pid != getpid() && IsRunning(pid)) found.push_back(pid);
  }
  return found;
}

void CloseRunningLaunchers() {
  const std::vector<pid_t> launchers = FindUserProcesses(kLauncherProgram);
  for (pid_t pid : launchers) kill(pid, SIGTERM);
  for (pid_t pid : launchers)
    for (int i = 0; i < kPollsPerLauncher && IsRunning(pid); ++i) std::this_thread::sleep_for(kPollInterval);
}

void InstallLauncher(const std::string& sourceFolder, const std::string& installFolder) {
  CloseRunningLaunchers();
  const std::string startup = StartupFolder();
  DeleteFile(startup + "/" + kLauncherProgram);
  CopyFromSource(sourceFolder, kLauncherProgram, installFolder, kLauncherProgram);
  const std::string launcher = installFolder + "/" + kLauncherProgram;
  if (EnsureFolder(startup))
    CreateShortcut(launcher, startup + "/" + kStartupLauncher + kShortcutSuffix, "SS Kickoff v3.0");
  StartDetached({launcher});
}

void InstallCompanion(const std::string& sourceFolder, const std::string& installFolder) {
  if (SoundFeedBlock* feed = AttachSoundFeed()) {
    feed->SetU32(feed::kCompanionQuit, 0);
    CloseSoundFeed(feed);
  }
  const bool copied = CopyFromSource(sourceFolder, kCompanionProgram, installFolder, kCompanionProgram);
  StartDetached({(copied ? installFolder : sourceFolder) + "/" + kCompanionProgram, "--install"});
}

}  // namespace fluxo::install

#include "uninstall/running_programs.h"

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fluxo::uninstall {
namespace {

namespace fs = std::filesystem;

// The program a process runs: its executable, or for a script the first
// word of its command line.
bool Runs(const fs::path& process, const std::vector<std::string>& programPaths) {
  std::error_code ec;
  std::string exe = fs::read_symlink(process / "exe", ec).string();
  if (const std::string gone = " (deleted)"; exe.size() > gone.size() && exe.ends_with(gone))
    exe.resize(exe.size() - gone.size());
  std::string argv0;
  std::ifstream cmdline(process / "cmdline", std::ios::binary);
  std::getline(cmdline, argv0, '\0');
  return std::any_of(programPaths.begin(), programPaths.end(),
                     [&](const std::string& p) { return !p.empty() && (p == exe || p == argv0); });
}

std::vector<pid_t> ProcessesRunning(const std::vector<std::string>& programPaths) {
  std::vector<pid_t> found;
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    if (pid != getpid() && Runs(it->path(), programPaths)) found.push_back(pid);
  }
  return found;
}

}  // namespace

void CloseRunningPrograms(const std::vector<std::string>& programPaths, int timeoutMs) {
  std::vector<std::string> paths;
  for (const std::string& p : programPaths) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(p, ec);
    paths.push_back(ec ? p : canonical.string());
  }
  for (pid_t pid : ProcessesRunning(paths)) kill(pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!ProcessesRunning(paths).empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

}  // namespace fluxo::uninstall

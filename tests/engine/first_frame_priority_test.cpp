// The process priority class of the settings is taken once the first frame is
// out: at idle priority on a busy machine the first picture would wait for
// everything else.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/headless_window.h"
#include "engine/module_registry.h"
#include "engine/render_thread.h"
#include "platform/system/saver_state.h"
#include "settings/main_settings.h"

namespace fluxo::test {
namespace {

using namespace std::chrono_literals;

// Threads of this process at idle priority, and all of them.
struct ThreadNices {
  int idle = 0;
  int all = 0;
};

ThreadNices ReadThreadNices() {
  ThreadNices nices;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    const auto tid = static_cast<id_t>(std::stoi(task.path().filename().string()));
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    if (errno != 0) continue;  // a thread that ended meanwhile
    ++nices.all;
    if (nice >= 19) ++nices.idle;
  }
  return nices;
}

TEST(FirstFramePriority, TheIdleClassComesOnlyAfterTheFirstFrame) {
  // In a child: idle priority cannot be undone without privileges.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ResetSaverState();
    ResetMainSettings();  // the default class is idle
    Overrides().soloModule = kModuleBezier;
    HeadlessWindow window(64, 48, {"fluxo", "/s"});
    if (!window.Open()) _exit(20);
    const gdi::FrameExchange& exchange = window.SurfaceOwner()->exchange;
    int idleEarly = 0;
    for (;;) {
      const ThreadNices nices = ReadThreadNices();
      // Read after the nices: a frame not yet published then was not published while they were read.
      if (exchange.Serial() > 0) break;
      idleEarly += nices.idle;
    }
    bool idleLater = false;
    for (auto end = std::chrono::steady_clock::now() + 5s; !idleLater && std::chrono::steady_clock::now() < end;) {
      const ThreadNices nices = ReadThreadNices();
      idleLater = nices.idle == nices.all;
      std::this_thread::sleep_for(2ms);
    }
    window.Close();
    _exit(idleEarly != 0 ? 11 : !idleLater ? 12 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 11) << "a thread ran at idle priority before the first frame";
  EXPECT_NE(WEXITSTATUS(status), 12) << "the idle class never reached every thread";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace fluxo::test

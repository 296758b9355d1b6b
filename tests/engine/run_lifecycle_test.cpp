// Starting and stopping runs: a stop during start-up, threads that outlive
// their stop, and the priority class reaching every thread.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "engine/headless_window.h"
#include "engine/module_registry.h"
#include "engine/render_thread.h"
#include "platform/system/priority.h"
#include "platform/system/saver_state.h"
#include "settings/main_settings.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

using namespace std::chrono_literals;

template <typename Predicate>
bool WaitFor(Predicate predicate, std::chrono::milliseconds limit = 5000ms) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

class RunLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    ResetMainSettings();
    Overrides().soloModule = kModuleBezier;
  }
  void TearDown() override { Overrides().soloModule = -1; }
};

TEST_F(RunLifecycleTest, WindowsClosedAtOnceEndTheirThreadInTimeAndStopDrawing) {
  for (int i = 0; i < 100; ++i) {
    HeadlessWindow window(32, 24, {"fluxo", "/s"});
    ASSERT_TRUE(window.Open()) << SoundFeedError();
    window.Close();
    // A thread that missed the stop would still be running (left behind by
    // the timed-out wait), and no new run could start.
    ASSERT_FALSE(RenderThreadExists()) << "run " << i;
    ASSERT_EQ(Saver().saverRunning.load(), 0);
  }
  const uint32_t frames = Saver().frameCounter.load();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(Saver().frameCounter.load(), frames);
  EXPECT_EQ(SoundFeed(), nullptr);
}

// A module whose frame hangs until the test lets it go, drawing into its
// surface afterwards: what a stuck plug-in or a very slow pass looks like.
std::atomic<bool> g_release{false};
std::atomic<bool> g_inFrame{false};
int32_t HangingFrame(ModuleSlot* slot) {
  g_inFrame = true;
  while (!g_release.load()) std::this_thread::sleep_for(1ms);
  auto* surface = static_cast<gdi::FrameSurface*>(slot->dc);
  surface->FillRect(surface->ClientRect(), gdi::Brush::StockWhite());
  return 0;
}

TEST_F(RunLifecycleTest, ThreadLeftRunningByAStopKeepsItsSurfaceAndBlocksASecondRun) {
  Overrides().soloModule = kModulePlugIn;  // never has operations of its own
  g_release = false;
  g_inFrame = false;
  auto window = std::make_unique<HeadlessWindow>(40, 30, std::vector<std::string>{"fluxo", "/s"});
  ASSERT_TRUE(window->Open());
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 0; }));
  Saver().renderGate.CloseAndWaitForArrival();
  InstallModuleOperations(kModulePlugIn, HangingFrame, NoOpModuleOperation, NoOpModuleOperation,
                          NoOpModuleOperation);
  SetActive(kModulePlugIn, true);
  Saver().renderGate.Open();
  ASSERT_TRUE(WaitFor([] { return g_inFrame.load(); }));
  const uint32_t stuckAt = Saver().frameCounter.load();

  window->Close();  // waits its limit, then leaves the thread running
  EXPECT_TRUE(RenderThreadExists());
  window.reset();  // the window and its surface are gone for the window thread

  // Another window cannot start a second run beside the first.
  HeadlessWindow second(40, 30, {"fluxo", "/s"});
  ASSERT_TRUE(second.Open());
  EXPECT_EQ(Saver().frameCounter.load(), stuckAt);
  EXPECT_EQ(Saver().saverRunning.load(), 0);

  g_release = true;  // the old thread now draws: into memory it still holds
  ASSERT_TRUE(WaitFor([] { return !RenderThreadExists(); }));
  second.Close();
}

int NiceOf(const std::filesystem::path& task) {
  const pid_t tid = static_cast<pid_t>(std::stoi(task.filename().string()));
  errno = 0;
  return getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
}

TEST(PriorityClass, ReachesEveryThreadOfTheProcess) {
  // In a child: the class sticks to the process, and idle cannot be undone
  // without privileges.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::atomic<bool> stop{false};
    std::thread unknown([&stop] {  // a thread that never registered a priority
      while (!stop) std::this_thread::sleep_for(1ms);
    });
    std::thread below([&stop] {
      SetCurrentThreadPriority(ThreadPriority::BelowNormal);
      while (!stop) std::this_thread::sleep_for(1ms);
      ForgetCurrentThreadPriority();
    });
    std::this_thread::sleep_for(20ms);
    SetProcessPriorityClass(kPriorityIdle);
    int wrong = 0, tasks = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      ++tasks;
      if (NiceOf(task.path()) != 19) ++wrong;  // 19 + 1 is held at the limit
    }
    stop = true;
    unknown.join();
    below.join();
    _exit(tasks >= 3 && wrong == 0 ? 0 : 10 + wrong);  // sanitizers add threads of their own
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "threads without the idle class: " << WEXITSTATUS(status) - 10;
}

}  // namespace
}  // namespace fluxo::test

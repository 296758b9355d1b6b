#include "platform/system/priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace fluxo {
namespace {

std::mutex g_mutex;
int g_baseNice = 0;
std::map<pid_t, int> g_threadOffsets;  // threads that asked for a relative priority

pid_t CurrentTid() { return static_cast<pid_t>(syscall(SYS_gettid)); }

void ApplyNice(pid_t tid, int nice) {
  // Lowering nice below the current value needs privileges; a refusal is ignored.
  setpriority(PRIO_PROCESS, static_cast<id_t>(tid), std::clamp(nice, -20, 19));
}

}  // namespace

int NiceOfClass(uint32_t priorityClass) {
  switch (priorityClass) {
    case kPriorityHigh:
      return -5;
    case kPriorityNormal:
      return 0;
    default:
      return 19;
  }
}

// A class belongs to the whole process; here nice values are per thread, so
// every thread gets it: the window thread and the toolkit's own threads too.
void SetProcessPriorityClass(uint32_t priorityClass) {
  std::lock_guard lock(g_mutex);
  g_baseNice = NiceOfClass(priorityClass);
  std::error_code error;
  std::filesystem::directory_iterator tasks("/proc/self/task", error);
  if (error) {  // without /proc, at least the threads that are known
    ApplyNice(CurrentTid(), g_baseNice);
    for (auto [tid, offset] : g_threadOffsets) ApplyNice(tid, g_baseNice + offset);
    return;
  }
  for (const auto& task : tasks) {
    const pid_t tid = static_cast<pid_t>(std::atoi(task.path().filename().c_str()));
    const auto relative = g_threadOffsets.find(tid);
    ApplyNice(tid, g_baseNice + (relative == g_threadOffsets.end() ? 0 : relative->second));
  }
}

void SetCurrentThreadPriority(ThreadPriority priority) {
  std::lock_guard lock(g_mutex);
  int offset = static_cast<int>(priority);
  g_threadOffsets[CurrentTid()] = offset;
  ApplyNice(CurrentTid(), g_baseNice + offset);
}

void ForgetCurrentThreadPriority() {
  std::lock_guard lock(g_mutex);
  g_threadOffsets.erase(CurrentTid());
}

}  // namespace fluxo

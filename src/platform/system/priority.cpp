#include "platform/system/priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
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

void SetProcessPriorityClass(uint32_t priorityClass) {
  std::lock_guard lock(g_mutex);
  g_baseNice = NiceOfClass(priorityClass);
  ApplyNice(CurrentTid(), g_baseNice);
  for (auto [tid, offset] : g_threadOffsets) ApplyNice(tid, g_baseNice + offset);
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

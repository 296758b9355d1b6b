#include "modules/plugin_host_guard.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csetjmp>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

namespace fluxo {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int kFaultSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];

struct GuardFrame {
  sigjmp_buf jump;
  GuardFrame* outer;
};

// The innermost guarded call of this thread. A plain pointer: the signal
// handler reads it, and it needs no initialisation at thread start.
thread_local GuardFrame* t_guard = nullptr;
struct sigaction g_previous[kFaultSignalCount];
std::once_flag g_installed;

// A stack overflow in foreign code leaves no stack for the handler: each
// thread that runs guarded code gets an alternate one (unless it has one).
class AlternateStack {
 public:
  AlternateStack() {
    stack_t current;
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;
    memory_ = std::make_unique<char[]>(kSize);
    stack_t stack = {};
    stack.ss_sp = memory_.get();
    stack.ss_size = kSize;
    if (sigaltstack(&stack, nullptr) != 0) memory_.reset();
  }
  ~AlternateStack() {
    if (!memory_) return;
    stack_t off = {};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
  }
  AlternateStack(const AlternateStack&) = delete;
  AlternateStack& operator=(const AlternateStack&) = delete;

 private:
  static constexpr size_t kSize = 64 * 1024;
  std::unique_ptr<char[]> memory_;
};

int IndexOf(int signal) {
  for (int i = 0; i < kFaultSignalCount; ++i)
    if (kFaultSignals[i] == signal) return i;
  return -1;
}

void OnFault(int signal, siginfo_t* info, void* context) {
  if (GuardFrame* frame = t_guard) siglongjmp(frame->jump, 1);
  // Not ours: hand it on as if we were never installed.
  const struct sigaction& previous = g_previous[IndexOf(signal)];
  if (previous.sa_flags & SA_SIGINFO) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
    return;
  }
  // The default action: returning re-runs the faulting instruction (or
  // delivers the raised signal) with the default disposition.
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void InstallFaultHandler() {
  for (int i = 0; i < kFaultSignalCount; ++i) {
    struct sigaction action = {};
    action.sa_sigaction = &OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(kFaultSignals[i], &action, &g_previous[i]);
  }
}

}  // namespace

bool CallWithFaultGuard(void (*call)(void* context), void* context) {
  std::call_once(g_installed, InstallFaultHandler);
  thread_local AlternateStack alternateStack;
  GuardFrame frame;
  frame.outer = t_guard;
  // The signal mask is saved so that the fault signal, blocked while its
  // handler runs, is unblocked again after the jump.
  if (sigsetjmp(frame.jump, 1) != 0) {
    t_guard = frame.outer;
    return false;
  }
  t_guard = &frame;
  call(context);
  t_guard = frame.outer;
  return true;
}

int RunInChildProcess(int (*call)(void* context), void* context, uint32_t timeoutMs) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    // No exit handlers, no flushing of the parent's buffers: only the result.
    _exit(call(context) & 0xFF);
  }
  int status = 0;
  for (uint32_t waited = 0;; waited += 5) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return -1;
    if (waited >= timeoutMs) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace fluxo

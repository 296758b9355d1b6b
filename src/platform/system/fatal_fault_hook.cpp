#include "platform/system/fatal_fault_hook.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iterator>
#include <stdexcept>

namespace fluxo {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr unsigned kLastWordsSeconds = 2;

std::atomic<void (*)()> g_lastWords{nullptr};
struct sigaction g_previous[std::size(kFaultSignals)];

void RestorePreviousHandlers() {
  for (size_t i = 0; i < std::size(kFaultSignals); ++i) sigaction(kFaultSignals[i], &g_previous[i], nullptr);
}

void OnFault(int signal, siginfo_t* info, void*) {
  RestorePreviousHandlers();
  if (void (*lastWords)() = g_lastWords.exchange(nullptr)) {
    alarm(kLastWordsSeconds);
    lastWords();
  }
  // A fault of an instruction happens again on return and reaches the previous
  // handler with its real cause; a sent signal has to be sent again.
  if (info->si_code <= 0) raise(signal);
}

}  // namespace

FatalFaultHook::FatalFaultHook(void (*lastWords)()) {
  void (*none)() = nullptr;
  if (!g_lastWords.compare_exchange_strong(none, lastWords))
    throw std::logic_error("only one FatalFaultHook at a time");
  struct sigaction action = {};
  action.sa_sigaction = OnFault;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_SIGINFO;
  for (size_t i = 0; i < std::size(kFaultSignals); ++i) sigaction(kFaultSignals[i], &action, &g_previous[i]);
}

FatalFaultHook::~FatalFaultHook() {
  if (g_lastWords.exchange(nullptr)) RestorePreviousHandlers();
}

}  // namespace fluxo

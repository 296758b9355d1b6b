#pragma once

namespace fluxo {

// While a hook exists, a fatal fault (SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT) on any thread first calls `lastWords`, then takes its usual
// course (the previous handler, or the end of the process). `lastWords` runs
// inside a signal handler: it must be short; a two-second alarm ends the
// process should it hang. One hook at a time.
class FatalFaultHook {
 public:
  explicit FatalFaultHook(void (*lastWords)());
  ~FatalFaultHook();
  FatalFaultHook(const FatalFaultHook&) = delete;
  FatalFaultHook& operator=(const FatalFaultHook&) = delete;
};

}  // namespace fluxo

// The fault guard and the child-process trial that keep foreign code from
// ending the program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <thread>

#include "modules/plugin_host_guard.h"

namespace fluxo::test {
namespace {

volatile uintptr_t g_wildAddress = 16;
volatile int g_neverReached = -1;

// Foreign code is built without sanitizers; this stands in for it.
__attribute__((no_sanitize("address", "undefined"))) void WildWrite(void*) {
  *reinterpret_cast<volatile int32_t*>(g_wildAddress) = 1;
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int Deeper(int depth) {
  volatile char frame[256];
  frame[0] = static_cast<char>(depth);
  if (depth == g_neverReached) return 0;
  return Deeper(depth + 1) + frame[0];
}
void Overflow(void*) { Deeper(0); }

void Count(void* context) { ++*static_cast<int*>(context); }

struct Nested {
  bool innerClean = true;
  int afterInner = 0;
};
void FaultInsideAnInnerGuard(void* context) {
  auto* nested = static_cast<Nested*>(context);
  nested->innerClean = CallWithFaultGuard(&WildWrite, nullptr);
  ++nested->afterInner;
}

TEST(PlugInGuardTest, AFaultReturnsToTheGuardAndLaterCallsRunNormally) {
  int calls = 0;
  EXPECT_FALSE(CallWithFaultGuard(&WildWrite, nullptr));
  EXPECT_TRUE(CallWithFaultGuard(&Count, &calls));
  EXPECT_FALSE(CallWithFaultGuard(&WildWrite, nullptr)) << "the fault signal is not left blocked";
  EXPECT_TRUE(CallWithFaultGuard(&Count, &calls));
  EXPECT_EQ(calls, 2);
}

TEST(PlugInGuardTest, AStackOverflowIsCaughtOnEveryThread) {
  EXPECT_FALSE(CallWithFaultGuard(&Overflow, nullptr));
  bool caught = false;
  std::thread([&caught] { caught = !CallWithFaultGuard(&Overflow, nullptr); }).join();
  EXPECT_TRUE(caught);
}

TEST(PlugInGuardTest, TheInnermostGuardCatches) {
  Nested nested;
  EXPECT_TRUE(CallWithFaultGuard(&FaultInsideAnInnerGuard, &nested));
  EXPECT_FALSE(nested.innerClean);
  EXPECT_EQ(nested.afterInner, 1);
}

int ResultSeven(void*) { return 7; }
int FaultOutsideAnyGuard(void*) {
  int calls = 0;
  CallWithFaultGuard(&Count, &calls);  // the handler is in place
  // Whoever handles the fault may report it at length: not into the test log.
  dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
  WildWrite(nullptr);
  return 0;
}
int Forever(void*) {
  for (;;) pause();
}

TEST(PlugInGuardTest, TheChildReportsItsResultAndFaultsOutsideAGuardStillEndIt) {
  EXPECT_EQ(RunInChildProcess(&ResultSeven, nullptr, 5000), 7);
  EXPECT_NE(RunInChildProcess(&FaultOutsideAnyGuard, nullptr, 5000), 0)
      << "an unguarded fault goes to the handler that was there before";
  EXPECT_EQ(RunInChildProcess(&Forever, nullptr, 50), -1) << "a child that does not end is killed";
}

}  // namespace
}  // namespace fluxo::test

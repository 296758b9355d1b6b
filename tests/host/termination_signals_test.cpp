#include "host/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QEventLoop>
#include <QTimer>

namespace fluxo {
namespace {

// Waits until the watch has called back (or a generous guard ran out).
int RaiseAndCount(int signal) {
  int calls = 0;
  QEventLoop loop;
  TerminationWatch watch([&] {
    ++calls;
    loop.quit();
  });
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  raise(signal);
  loop.exec();
  return calls;
}

TEST(TerminationWatch, SignalsBecomeACallOnTheEventLoop) {
  EXPECT_EQ(RaiseAndCount(SIGTERM), 1);
  EXPECT_EQ(RaiseAndCount(SIGINT), 1);
  EXPECT_EQ(RaiseAndCount(SIGHUP), 1);
}

TEST(TerminationWatch, PreviousHandlersComeBack) {
  struct sigaction before = {};
  sigaction(SIGTERM, nullptr, &before);
  { TerminationWatch watch([] {}); }
  struct sigaction after = {};
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
  EXPECT_THROW(
      {
        TerminationWatch first([] {});
        TerminationWatch second([] {});
      },
      std::logic_error);
}

}  // namespace
}  // namespace fluxo

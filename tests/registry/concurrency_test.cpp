#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

namespace fluxo::reg {
namespace {

using TransactionTest = test::FreshStore;
using ConcurrencyTest = test::FreshStore;

uint32_t ReadNumber(const char* path, const char* name) {
  Key key;
  if (OpenKey(Hive::CurrentUser, path, key) != kSuccess) return 0;
  uint32_t v = 0, size = 4;
  return QueryValue(key, name, nullptr, &v, &size) == kSuccess ? v : 0;
}

long WriteNumber(const char* path, const char* name, uint32_t v) {
  Key key;
  if (long rc = CreateKey(Hive::CurrentUser, path, key); rc != kSuccess) return rc;
  return SetValue(key, name, kRegDword, &v, 4);
}

// Read-modify-write of a counter: only correct when the two steps are atomic.
long Increment(const char* path) {
  return InTransaction([&] { return WriteNumber(path, "Count", ReadNumber(path, "Count") + 1); });
}

TEST_F(TransactionTest, CommitsAllSteps) {
  ASSERT_EQ(InTransaction([] {
              if (long rc = WriteNumber("T", "a", 1); rc != kSuccess) return rc;
              return WriteNumber("T\\Sub", "b", 2);
            }),
            kSuccess);
  EXPECT_EQ(ReadNumber("T", "a"), 1u);
  EXPECT_EQ(ReadNumber("T\\Sub", "b"), 2u);
}

TEST_F(TransactionTest, AFailedStepUndoesEverything) {
  ASSERT_EQ(WriteNumber("T", "a", 1), kSuccess);
  long rc = InTransaction([] {
    WriteNumber("T", "a", 5);
    WriteNumber("T\\New", "b", 2);
    return kErrorAccessDenied;
  });
  EXPECT_EQ(rc, kErrorAccessDenied);
  EXPECT_EQ(ReadNumber("T", "a"), 1u);
  Key gone;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "T\\New", gone), kErrorFileNotFound);
}

TEST_F(TransactionTest, AnExceptionUndoesEverythingAndPassesOn) {
  EXPECT_THROW(InTransaction([]() -> long {
                 WriteNumber("T", "a", 5);
                 throw std::runtime_error("fault");
               }),
               std::runtime_error);
  Key gone;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "T", gone), kErrorFileNotFound);
  // The store is usable afterwards.
  EXPECT_EQ(WriteNumber("T", "a", 6), kSuccess);
  EXPECT_EQ(ReadNumber("T", "a"), 6u);
}

TEST_F(TransactionTest, AFailedInnerTransactionUndoesOnlyItsOwnSteps) {
  long rc = InTransaction([] {
    WriteNumber("T", "outer", 1);
    long inner = InTransaction([] {
      WriteNumber("T", "inner", 2);
      return kErrorFileNotFound;
    });
    EXPECT_EQ(inner, kErrorFileNotFound);
    return kSuccess;
  });
  EXPECT_EQ(rc, kSuccess);
  EXPECT_EQ(ReadNumber("T", "outer"), 1u);
  Key key;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "T", key), kSuccess);
  uint32_t size = 0;
  EXPECT_EQ(QueryValue(key, "inner", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(TransactionTest, ClosingTheStoreWaitsForTheTransaction) {
  ASSERT_EQ(InTransaction([] {
              CloseStore();
              return WriteNumber("T", "a", 3);
            }),
            kSuccess);
  CloseStore();
  EXPECT_EQ(ReadNumber("T", "a"), 3u);
}

TEST_F(ConcurrencyTest, ThreadsShareTheStoreWithoutLosingUpdates) {
  constexpr int kThreads = 4, kRounds = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      std::string name = "Thread" + std::to_string(t);
      for (int i = 0; i < kRounds; ++i) {
        Increment("Shared");
        WriteNumber("Shared", name.c_str(), static_cast<uint32_t>(i));
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(ReadNumber("Shared", "Count"), static_cast<uint32_t>(kThreads * kRounds));
  for (int t = 0; t < kThreads; ++t)
    EXPECT_EQ(ReadNumber("Shared", ("Thread" + std::to_string(t)).c_str()), static_cast<uint32_t>(kRounds - 1));
}

TEST_F(ConcurrencyTest, SeveralProcessesWriteAtOnceWithNothingLost) {
  constexpr int kChildren = 4, kRounds = 40;
  // The parent's connection must not confuse the children.
  ASSERT_EQ(WriteNumber("Shared", "Count", 0), kSuccess);
  std::vector<pid_t> children;
  for (int c = 0; c < kChildren; ++c) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kRounds; ++i) {
        std::string path = "Shared\\Child" + std::to_string(c);
        std::string name = "Value" + std::to_string(i);
        failures += WriteNumber(path.c_str(), name.c_str(), static_cast<uint32_t>(c * 1000 + i)) != kSuccess;
        failures += Increment("Shared") != kSuccess;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(ReadNumber("Shared", "Count"), static_cast<uint32_t>(kChildren * kRounds));
  for (int c = 0; c < kChildren; ++c) {
    std::string path = "Shared\\Child" + std::to_string(c);
    for (int i = 0; i < kRounds; ++i) {
      std::string name = "Value" + std::to_string(i);
      EXPECT_EQ(ReadNumber(path.c_str(), name.c_str()), static_cast<uint32_t>(c * 1000 + i)) << path << " " << name;
    }
  }
}

// Starts `count` processes that block until Release(), so they reach the
// store at the same moment.
class StartingGate {
 public:
  StartingGate() { EXPECT_EQ(pipe(fds_), 0); }
  ~StartingGate() { Release(); }
  template <typename Work>
  void Spawn(int count, Work work) {
    for (int c = 0; c < count; ++c) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        close(fds_[1]);
        char byte;
        while (read(fds_[0], &byte, 1) > 0) {
        }
        _exit(work(c));
      }
      children_.push_back(pid);
    }
  }
  void Release() {
    if (fds_[1] >= 0) close(fds_[1]);
    if (fds_[0] >= 0) close(fds_[0]);
    fds_[0] = fds_[1] = -1;
  }
  // How many children ended with a code other than 0.
  int Failures() {
    Release();
    int failed = 0;
    for (pid_t pid : children_) {
      int status = 0;
      failed += waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    children_.clear();
    return failed;
  }

 private:
  int fds_[2] = {-1, -1};
  std::vector<pid_t> children_;
};

TEST_F(ConcurrencyTest, ProcessesThatCreateTheStoreTogetherLoseNoWrite) {
  constexpr int kRounds = 40, kChildren = 8, kWrites = 2;
  for (int round = 0; round < kRounds; ++round) {
    Wipe();
    StartingGate gate;
    gate.Spawn(kChildren, [](int c) {
      int failures = 0;
      for (int i = 0; i < kWrites; ++i) {
        std::string path = "Fresh\\Child" + std::to_string(c);
        failures += WriteNumber(path.c_str(), ("Value" + std::to_string(i)).c_str(), static_cast<uint32_t>(c * 10 + i)) !=
                    kSuccess;
      }
      return failures == 0 ? 0 : 1;
    });
    ASSERT_EQ(gate.Failures(), 0) << "round " << round;
    for (int c = 0; c < kChildren; ++c)
      for (int i = 0; i < kWrites; ++i) {
        std::string path = "Fresh\\Child" + std::to_string(c);
        ASSERT_EQ(ReadNumber(path.c_str(), ("Value" + std::to_string(i)).c_str()), static_cast<uint32_t>(c * 10 + i))
            << "round " << round << " " << path;
      }
    CloseStore();
  }
}

TEST_F(ConcurrencyTest, ClosingTheLastConnectionLeavesNoWriteAheadLog) {
  ASSERT_EQ(WriteNumber("Closing", "a", 1), kSuccess);
  struct stat info;
  ASSERT_EQ(stat((StorePath() + "-wal").c_str(), &info), 0) << "the store writes ahead while open";
  CloseStore();
  EXPECT_NE(stat((StorePath() + "-wal").c_str(), &info), 0);
  EXPECT_NE(stat((StorePath() + "-shm").c_str(), &info), 0);
  EXPECT_EQ(ReadNumber("Closing", "a"), 1u);
}

}  // namespace
}  // namespace fluxo::reg

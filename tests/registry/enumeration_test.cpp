#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

// Enumeration remembers where the last step ended; these cases change the
// store between steps and check that an index still means what it says.
namespace fluxo::reg {
namespace {

class EnumerationTest : public test::FreshStore {
 protected:
  static Key Parent(const char* path, std::initializer_list<const char*> children) {
    Key parent;
    EXPECT_EQ(CreateKey(Hive::CurrentUser, path, parent), kSuccess);
    for (const char* name : children) {
      Key child;
      EXPECT_EQ(CreateKey(parent, name, child), kSuccess) << name;
    }
    return parent;
  }
  static std::string Subkey(const Key& key, uint32_t index) {
    std::string name;
    long rc = EnumKey(key, index, name);
    return rc == kSuccess ? name : "<" + std::to_string(rc) + ">";
  }
  static std::string Value(const Key& key, uint32_t index) {
    std::string name;
    long rc = EnumValue(key, index, name, nullptr, nullptr);
    return rc == kSuccess ? name : "<" + std::to_string(rc) + ">";
  }
  static void Number(const Key& key, const char* name, uint32_t v) {
    ASSERT_EQ(SetValue(key, name, kRegDword, &v, 4), kSuccess);
  }
};

TEST_F(EnumerationTest, ASubkeyAddedOrRemovedBetweenStepsShiftsTheIndices) {
  Key parent = Parent("P", {"b", "d", "f"});
  EXPECT_EQ(Subkey(parent, 0), "b");
  Key added;
  ASSERT_EQ(CreateKey(parent, "a", added), kSuccess);
  EXPECT_EQ(Subkey(parent, 1), "b");
  EXPECT_EQ(Subkey(parent, 2), "d");
  ASSERT_EQ(DeleteKey(parent, "b"), kSuccess);
  EXPECT_EQ(Subkey(parent, 3), "<259>");
  EXPECT_EQ(Subkey(parent, 2), "f");
}

TEST_F(EnumerationTest, ARolledBackChangeIsNotSeen) {
  Key parent = Parent("P", {"b", "d", "f"});
  ASSERT_EQ(InTransaction([&] {
              Key added;
              EXPECT_EQ(CreateKey(parent, "a", added), kSuccess);
              EXPECT_EQ(Subkey(parent, 0), "a");
              EXPECT_EQ(Subkey(parent, 1), "b");
              return kErrorAccessDenied;  // undo
            }),
            kErrorAccessDenied);
  EXPECT_EQ(Subkey(parent, 2), "f");
  for (const char* name : {"a", "b", "c"}) Number(parent, name, 1);
  ASSERT_EQ(InTransaction([&] {
              long inner = InTransaction([&] {
                EXPECT_EQ(DeleteValue(parent, "b"), kSuccess);
                EXPECT_EQ(Value(parent, 0), "a");
                EXPECT_EQ(Value(parent, 1), "c");
                return kErrorAccessDenied;  // undo to the savepoint
              });
              EXPECT_EQ(inner, kErrorAccessDenied);
              EXPECT_EQ(Value(parent, 2), "c");
              return kSuccess;
            }),
            kSuccess);
}

TEST_F(EnumerationTest, TwoKeysWalkedInTurnKeepTheirOwnOrder) {
  Key left = Parent("L", {"l1", "l2", "l3"});
  Key right = Parent("R", {"r1", "r2", "r3"});
  for (const char* name : {"v1", "v2", "v3"}) Number(left, name, 1);
  for (const char* name : {"w1", "w2", "w3"}) Number(right, name, 1);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Subkey(left, i), "l" + std::to_string(i + 1));
    EXPECT_EQ(Subkey(right, i), "r" + std::to_string(i + 1));
    EXPECT_EQ(Value(left, i), "v" + std::to_string(i + 1));
    EXPECT_EQ(Value(right, i), "w" + std::to_string(i + 1));
  }
}

TEST_F(EnumerationTest, AValueDeletedAndMadeAgainMovesToTheEnd) {
  Key key = Parent("V", {});
  for (const char* name : {"a", "b", "c"}) Number(key, name, 1);
  EXPECT_EQ(Value(key, 0), "a");
  EXPECT_EQ(Value(key, 1), "b");
  ASSERT_EQ(DeleteValue(key, "a"), kSuccess);
  Number(key, "a", 2);
  EXPECT_EQ(Value(key, 2), "a");
  EXPECT_EQ(Value(key, 1), "c");
}

TEST_F(EnumerationTest, ChangesByAnotherProcessBetweenStepsAreSeen) {
  Key parent = Parent("P", {"b", "d", "f"});
  Number(parent, "x", 1);
  EXPECT_EQ(Subkey(parent, 0), "b");
  EXPECT_EQ(Value(parent, 0), "x");
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    Key p, added;
    bool ok = OpenKey(Hive::CurrentUser, "P", p) == kSuccess && CreateKey(p, "a", added) == kSuccess &&
              DeleteValue(p, "x") == kSuccess;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Subkey(parent, 1), "b");
  EXPECT_EQ(Value(parent, 1), "<259>");
  EXPECT_EQ(Value(parent, 0), "<259>");
}

TEST_F(EnumerationTest, ThreadsWalkingTheSameKeyEachSeeEveryEntryInOrder) {
  std::vector<std::string> names;
  Key parent = Parent("T", {});
  for (int i = 0; i < 200; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "k%03d", i);
    Key child;
    ASSERT_EQ(CreateKey(parent, name, child), kSuccess);
    Number(parent, name, static_cast<uint32_t>(i));
    names.push_back(name);
  }
  std::vector<std::vector<std::string>> seen(4);
  std::vector<std::thread> threads;
  for (auto& list : seen)
    threads.emplace_back([&parent, &list] {
      std::string name;
      for (uint32_t i = 0; EnumKey(parent, i, name) == kSuccess; ++i) list.push_back(name);
      for (uint32_t i = 0; EnumValue(parent, i, name, nullptr, nullptr) == kSuccess; ++i) list.push_back(name);
    });
  for (auto& thread : threads) thread.join();
  std::vector<std::string> expected = names;
  expected.insert(expected.end(), names.begin(), names.end());
  for (const auto& list : seen) EXPECT_EQ(list, expected);
}

}  // namespace
}  // namespace fluxo::reg

#include <gtest/gtest.h>

#include "platform/system/process.h"

namespace fluxo {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, SplitsAtBlanksAndGroupsQuotes) {
  EXPECT_EQ(SplitCommandLine("tonewell /PPLAY"), (Words{"tonewell", "/PPLAY"}));
  EXPECT_EQ(SplitCommandLine("  a\t b  "), (Words{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"/opt/Tone well/tw\" /PPLAY"), (Words{"/opt/Tone well/tw", "/PPLAY"}));
  EXPECT_EQ(SplitCommandLine("run 'two words' x"), (Words{"run", "two words", "x"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d"), (Words{"ab cd"}));
  EXPECT_EQ(SplitCommandLine("say \"it's\""), (Words{"say", "it's"}));
  EXPECT_EQ(SplitCommandLine("C:\\Tonewell\\tw.exe"), (Words{"C:\\Tonewell\\tw.exe"}));
  EXPECT_EQ(SplitCommandLine("empty \"\" word"), (Words{"empty", "", "word"}));
  EXPECT_EQ(SplitCommandLine("   "), Words{});
}

TEST(SpawnProcess, RunsAndReportsTheExitCode) {
  pid_t pid = SpawnProcess({"sh", "-c", "exit 3"});
  ASSERT_GT(pid, 0);
  int code = -1;
  ASSERT_TRUE(WaitForProcess(pid, 30000, &code));
  EXPECT_EQ(code, 3);
}

TEST(SpawnProcess, SignalledChildReportsTheSignal) {
  pid_t pid = SpawnProcess({"sh", "-c", "kill -9 $$"});
  ASSERT_GT(pid, 0);
  int code = -1;
  ASSERT_TRUE(WaitForProcess(pid, 30000, &code));
  EXPECT_EQ(code, 128 + 9);
}

TEST(SpawnProcess, MissingProgramIsNotStarted) {
  EXPECT_EQ(SpawnProcess({"/nonexistent/fluxo-no-such-program"}), -1);
  EXPECT_EQ(SpawnProcess({}), -1);
  EXPECT_EQ(SpawnProcess({""}), -1);
  EXPECT_FALSE(StartDetached({"fluxo-no-such-program-in-path"}));
}

}  // namespace
}  // namespace fluxo

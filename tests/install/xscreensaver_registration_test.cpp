#include "install/xscreensaver_registration.h"

#include <gtest/gtest.h>

#include "install/setup_fixture.h"
#include "platform/system/install_folders.h"

namespace fluxo::test {
namespace {

using install::SelectSaverProgram;

constexpr char kCommand[] = "/home/u/.local/bin/fluxo -root";

// A user's file as the settings program writes it, with resources on both
// sides of the programs list.
const std::string kUserFile =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "mode:\t\trandom\n"
    "selected:\t-1\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "\t\t\t\tattraction --root\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

TEST(XScreenSaverEdit, AddsTheEntryLastAndSelectsItKeepingEveryOtherLine) {
  const auto edit = SelectSaverProgram(kUserFile, kCommand);
  ASSERT_TRUE(edit.changed);
  EXPECT_EQ(edit.index, 3);
  const std::string expected =
      "# XScreenSaver Preferences File\n"
      "timeout:\t0:10:00\n"
      "mode:\t\tone\n"
      "selected:\t3\n"
      "programs:\t\t\t\t\t\t\t\t      \\\n"
      "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
      "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
      "\t\t\t\tattraction --root\t\t\t    \\n\\\n"
      "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\n"
      "\n"
      "pointerHysteresis:\t10\n";
  EXPECT_EQ(edit.text, expected);
}

TEST(XScreenSaverEdit, ASecondRunChangesNothing) {
  const auto first = SelectSaverProgram(kUserFile, kCommand);
  const auto second = SelectSaverProgram(first.text, kCommand);
  EXPECT_FALSE(second.changed);
  EXPECT_EQ(second.text, first.text);
  EXPECT_EQ(second.index, 3);
}

TEST(XScreenSaverEdit, FindsTheEntryWhenDisabledOrWithAVisualAndOtherSpacing) {
  const std::string file =
      "programs:\t\\\n"
      "  maze --root \\n\\\n"
      "- default-n:   /home/u/.local/bin/fluxo    -root \\n\n"
      "mode: one\n"
      "selected: 1\n";
  const auto edit = SelectSaverProgram(file, kCommand);
  EXPECT_EQ(edit.index, 1);
  EXPECT_FALSE(edit.changed);
}

TEST(XScreenSaverEdit, AListWithoutAClosingEntryMarkIsContinuedCorrectly) {
  const auto edit = SelectSaverProgram("programs: maze --root\n", kCommand);
  EXPECT_EQ(edit.index, 1);
  EXPECT_EQ(edit.text,
            "programs: maze --root\\n\\\n"
            "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\n"
            "mode:\t\tone\n"
            "selected:\t\t1\n");
}

TEST(XScreenSaverEdit, AFileWithoutProgramsOrWithoutALastLineBreakGetsThemAppended) {
  const auto edit = SelectSaverProgram("lock:\t\tTrue", kCommand);
  EXPECT_EQ(edit.index, 0);
  EXPECT_EQ(edit.text,
            "lock:\t\tTrue\n"
            "programs:\t\t\\\n"
            "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\n"
            "mode:\t\tone\n"
            "selected:\t\t0\n");
}

TEST(XScreenSaverEdit, InAFileWithCrlfLineEndsTheEntryIsSelectedWhereXScreenSaverFindsIt) {
  // XScreenSaver does not continue a line ending in a backslash and a
  // carriage return: its list holds only what setup adds to the first line.
  const std::string file =
      "mode:\trandom\r\n"
      "programs:\t\\\r\n"
      "  maze --root \\n\\\r\n"
      "\r\n"
      "timeout:\t0:10:00\r\n";
  const auto edit = SelectSaverProgram(file, kCommand);
  EXPECT_EQ(edit.index, 0);
  EXPECT_EQ(edit.text,
            "mode:\tone\n"
            "programs:\t\\\r\\\n"
            "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\n"
            "  maze --root \\n\\\r\n"
            "\r\n"
            "timeout:\t0:10:00\r\n"
            "selected:\t\t0\n");
  EXPECT_FALSE(SelectSaverProgram(edit.text, kCommand).changed);
}

TEST(XScreenSaverEdit, AListContinuedIntoBlankLinesGetsTheEntryBeforeThem) {
  const auto edit = SelectSaverProgram(
      "programs: \\\n  maze --root \\n\\\n  GL: gears --root \\n\\\n\t\n\nlock: True\n", kCommand);
  EXPECT_EQ(edit.index, 2);
  EXPECT_EQ(edit.text,
            "programs: \\\n  maze --root \\n\\\n  GL: gears --root \\n\\\n"
            "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\\\n"
            "\t\n\nlock: True\n"
            "mode:\t\tone\n"
            "selected:\t\t2\n");
  // Without a closing entry mark on the line before, it gets one.
  EXPECT_EQ(SelectSaverProgram("programs: maze --root \\\n\nmode: one\n", kCommand).text,
            "programs: maze --root \\n\\\n"
            "\t\t/home/u/.local/bin/fluxo -root\t\t\t\t    \\n\\\n"
            "\nmode: one\nselected:\t\t1\n");
}

TEST(XScreenSaverEdit, ACommentNamingTheResourcesIsNotEdited) {
  const std::string file = "# mode: random\n! programs: none\nmode: random\n";
  const auto edit = SelectSaverProgram(file, kCommand);
  EXPECT_EQ(edit.text.rfind("# mode: random\n! programs: none\n", 0), 0u);
  EXPECT_NE(edit.text.find("\nmode: one\n"), std::string::npos);
}

TEST(XScreenSaverEdit, PathsThatNeedQuotingAreQuotedForTheShell) {
  EXPECT_EQ(install::XScreenSaverCommand("/opt/my saver/fluxo"), "'/opt/my saver/fluxo' -root");
  EXPECT_EQ(install::XScreenSaverCommand("/opt/it's/fluxo"), "'/opt/it'\\''s/fluxo' -root");
  EXPECT_EQ(install::XScreenSaverCommand("/usr/bin/fluxo"), "/usr/bin/fluxo -root");
}

class XScreenSaverFileTest : public SetupTest {};

TEST_F(XScreenSaverFileTest, TheUsersFileIsBackedUpBeforeItChangesAndOnlyThen) {
  const std::string file = UserHomeFolder() + "/.xscreensaver";
  const std::string backup = UserHomeFolder() + "/.xscreensaver.before-fluxo";
  WriteFile(file, kUserFile, 0600);
  ASSERT_TRUE(install::RegisterWithXScreenSaver("/x/fluxo"));
  EXPECT_EQ(ReadFile(backup), kUserFile);
  EXPECT_EQ(std::filesystem::status(file).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const std::string installed = ReadFile(file);
  EXPECT_NE(installed.find("/x/fluxo -root"), std::string::npos);

  std::filesystem::remove(backup);
  ASSERT_TRUE(install::RegisterWithXScreenSaver("/x/fluxo"));
  EXPECT_EQ(ReadFile(file), installed);
  EXPECT_FALSE(Exists(backup));
}

TEST_F(XScreenSaverFileTest, ALinkedFileIsEditedWhereItLivesAndStaysLinked) {
  const std::string file = UserHomeFolder() + "/.xscreensaver";
  const std::string kept = TestHome() + "/dotfiles/xscreensaver";
  WriteFile(kept, kUserFile);
  std::filesystem::create_directories(UserHomeFolder());
  std::filesystem::create_symlink(kept, file);
  ASSERT_TRUE(install::RegisterWithXScreenSaver("/x/fluxo"));
  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_NE(ReadFile(kept).find("/x/fluxo -root"), std::string::npos);
  EXPECT_EQ(ReadFile(UserHomeFolder() + "/.xscreensaver.before-fluxo"), kUserFile);
}

TEST_F(XScreenSaverFileTest, WithoutAFileAMinimalOneIsWritten) {
  ASSERT_TRUE(install::RegisterWithXScreenSaver("/x/fluxo"));
  const std::string text = ReadFile(UserHomeFolder() + "/.xscreensaver");
  EXPECT_NE(text.find("programs:\t\t\\\n\t\t/x/fluxo -root"), std::string::npos) << text;
  EXPECT_NE(text.find("selected:\t\t0\n"), std::string::npos);
  EXPECT_FALSE(Exists(UserHomeFolder() + "/.xscreensaver.before-fluxo"));
}

}  // namespace
}  // namespace fluxo::test

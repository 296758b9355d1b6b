#include "uninstall/xscreensaver_programs.h"

#include <gtest/gtest.h>

#include <string>

namespace fluxo::uninstall {
namespace {

bool IsFluxo(const std::string& program) { return program == "/opt/bin/fluxo"; }

std::string Settings(const std::string& mode, int selected, const std::string& programs) {
  return "timeout:\t0:10:00\nmode:\t\t" + mode + "\nselected:\t" + std::to_string(selected) +
         "\nprograms:\t\t\t\t\t      \\\n" + programs + "\npointerHysteresis:\t10\n";
}

TEST(EntryProgramTest, SkipsTheDisabledMarkTheVisualAndTheName) {
  EXPECT_EQ(EntryProgram("\t\t\t\tmaze -root\t\t"), "maze");
  EXPECT_EQ(EntryProgram("-  GL: \t\tsuperquadrics -root"), "superquadrics");
  EXPECT_EQ(EntryProgram("  \"Fluxo\" /opt/bin/fluxo -root"), "/opt/bin/fluxo");
  EXPECT_EQ(EntryProgram("- default-n: \"A name\" xflame"), "xflame");
  EXPECT_EQ(EntryProgram("  \t "), "");
}

TEST(EntryProgramTest, ReadsTheProgramAsTheShellDoes) {
  // What setup writes for a saver path with blanks or quotes in it.
  EXPECT_EQ(EntryProgram("\t\t'/home/a b/.local/bin/fluxo' -root"), "/home/a b/.local/bin/fluxo");
  EXPECT_EQ(EntryProgram("'/home/it'\\''s/fluxo' -root"), "/home/it's/fluxo");
  EXPECT_EQ(EntryProgram("\"Fluxo\" \"/opt/x \\\"y\\\"/fluxo\" -root"), "/opt/x \"y\"/fluxo");
  EXPECT_EQ(EntryProgram("/opt/x\\ y/fluxo -root"), "/opt/x y/fluxo");
}

TEST(RemoveProgramEntriesTest, AnEntryInTheMiddleGoesWithItsLineAndTheSelectionFollows) {
  const std::string text = Settings("one", 2,
                                    "\t\tmaze -root\t\\n\\\n"
                                    "\t\t/opt/bin/fluxo -root\t\\n\\\n"
                                    "\t\tdeco -root\t\\n\n");
  const ProgramsEdit edit = RemoveProgramEntries(text, IsFluxo, std::nullopt);
  EXPECT_EQ(edit.removed, 1);
  EXPECT_EQ(edit.text, Settings("one", 1,
                                "\t\tmaze -root\t\\n\\\n"
                                "\t\tdeco -root\t\\n\n"));
}

TEST(RemoveProgramEntriesTest, TheLastLineGoingEndsTheListOnTheLineBefore) {
  const std::string text = Settings("one", 0,
                                    "\t\tmaze -root\t\\n\\\n"
                                    "\t\t/opt/bin/fluxo -root\t\\n\n");
  const ProgramsEdit edit = RemoveProgramEntries(text, IsFluxo, std::nullopt);
  EXPECT_EQ(edit.text, Settings("one", 0, "\t\tmaze -root\t\\n\n"));
}

TEST(RemoveProgramEntriesTest, EntriesSharingALineGoOneByOne) {
  const std::string text = Settings("random", 0, "\t\tmaze -root \\n /opt/bin/fluxo -root \\n deco\t\\n\n");
  const ProgramsEdit edit = RemoveProgramEntries(text, IsFluxo, std::nullopt);
  EXPECT_EQ(edit.removed, 1);
  EXPECT_EQ(edit.text, Settings("random", 0, "\t\tmaze -root \\n  deco\t\\n\n"));
}

TEST(RemoveProgramEntriesTest, WithoutTheEarlierFileASelectedFluxoLeavesRandomPlay) {
  const std::string text = Settings("one", 1,
                                    "\t\tmaze -root\t\\n\\\n"
                                    "-\t\"Fluxo\" /opt/bin/fluxo -root\t\\n\\\n"
                                    "\t\tdeco -root\t\\n\n");
  const ProgramsEdit edit = RemoveProgramEntries(text, IsFluxo, std::nullopt);
  EXPECT_EQ(edit.text, Settings("random", 0,
                                "\t\tmaze -root\t\\n\\\n"
                                "\t\tdeco -root\t\\n\n"));
}

TEST(RemoveProgramEntriesTest, TheEarlierSelectionComesBackOnlyWhenItStillExists) {
  const std::string text = Settings("one", 2,
                                    "\t\tmaze -root\t\\n\\\n"
                                    "\t\tdeco -root\t\\n\\\n"
                                    "\t\t/opt/bin/fluxo -root\t\\n\n");
  const std::string expected = "\t\tmaze -root\t\\n\\\n\t\tdeco -root\t\\n\n";
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, Settings("blank", 1, "")).text, Settings("blank", 1, expected));
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, Settings("one", 7, "")).text, Settings("random", 0, expected));
}

TEST(RemoveProgramEntriesTest, ASelectionSetupAddedGoesAndTheModeComesBack) {
  const std::string user = "mode: random\nprograms: \\\n  maze -root \\n\\\n\n";
  const std::string installed =
      "mode: one\nprograms: \\\n  maze -root \\n\\\n\t\t/opt/bin/fluxo -root\t\\n\\\n\nselected:\t\t1\n";
  EXPECT_EQ(RemoveProgramEntries(installed, IsFluxo, user).text, user);
  // Without a mode before, the one setup added goes too.
  const std::string noMode = "programs: \\\n  maze -root \\n\n";
  EXPECT_EQ(RemoveProgramEntries(
                "programs: \\\n  maze -root \\n\\\n\t\t/opt/bin/fluxo -root\t\\n\nmode:\t\tone\nselected:\t\t1\n",
                IsFluxo, noMode)
                .text,
            noMode);
}

TEST(RemoveProgramEntriesTest, AFileWithoutTheEntryOrWithoutProgramsStaysAsItIs) {
  const std::string text = Settings("one", 0, "\t\tmaze -root\t\\n\n");
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, std::nullopt).text, text);
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, std::nullopt).removed, 0);
  const std::string noPrograms = "timeout:\t0:10:00\n";
  EXPECT_EQ(RemoveProgramEntries(noPrograms, IsFluxo, std::nullopt).text, noPrograms);
  EXPECT_EQ(RemoveProgramEntries("", IsFluxo, std::nullopt).text, "");
}

TEST(RemoveProgramEntriesTest, AnEntryOnTheProgramsLineGoesAndTheLineStays) {
  const std::string text = "programs: /opt/bin/fluxo -root \\n\\\n\t\tmaze -root\t\\n\n";
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, std::nullopt).text, "programs: \\\n\t\tmaze -root\t\\n\n");
}

TEST(RemoveProgramEntriesTest, TheEntrySetupAddsToAFileWithCrlfLineEndsGoesWithItsLine) {
  const std::string user = "programs:\t\\\r\n  maze -root \\n\\\r\n\r\ntimeout:\t1\r\n";
  const std::string installed =
      "programs:\t\\\r\\\n\t\t/opt/bin/fluxo -root\t\t\t\t    \\n\n"
      "  maze -root \\n\\\r\n\r\ntimeout:\t1\r\n";
  const ProgramsEdit edit = RemoveProgramEntries(installed, IsFluxo, std::nullopt);
  EXPECT_EQ(edit.removed, 1);
  EXPECT_EQ(edit.text, user);
}

TEST(RemoveProgramEntriesTest, TheOnlyEntryGoingLeavesAnEmptyList) {
  const std::string text = "programs:\t\\\n\t\t/opt/bin/fluxo -root\t\\n\n\nmode:\tone\nselected:\t0\n";
  EXPECT_EQ(RemoveProgramEntries(text, IsFluxo, std::nullopt).text, "programs:\t\n\nmode:\trandom\nselected:\t-1\n");
}

}  // namespace
}  // namespace fluxo::uninstall

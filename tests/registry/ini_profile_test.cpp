#include "platform/registry/ini_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/system/folders.h"

namespace fluxo::ini {
namespace {

class IniProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureFolder(ConfigFolder());
    std::remove(ProfilePath(kFile).c_str());
  }
  void TearDown() override { std::remove(ProfilePath(kFile).c_str()); }

  static void Put(const std::string& text) {
    std::ofstream(ProfilePath(kFile), std::ios::binary) << text;
  }
  static std::string Contents() {
    std::ifstream in(ProfilePath(kFile), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }

  static constexpr const char* kFile = "SYSTEM.INI";
};

TEST_F(IniProfileTest, BareNamesLiveInTheConfigFolder) {
  EXPECT_EQ(ProfilePath("SYSTEM.INI"), ConfigFolder() + "/SYSTEM.INI");
  EXPECT_EQ(ProfilePath("/tmp/other.ini"), "/tmp/other.ini");
}

TEST_F(IniProfileTest, MissingFileSectionOrKeyGivesTheFallback) {
  EXPECT_EQ(ReadProfileString(kFile, "boot", "SCRNSAVE.EXE", "none"), "none");
  Put("[boot]\nshell=explorer\n");
  EXPECT_EQ(ReadProfileString(kFile, "drivers", "shell", "fb"), "fb");
  EXPECT_EQ(ReadProfileString(kFile, "boot", "SCRNSAVE.EXE", ""), "");
}

TEST_F(IniProfileTest, SectionsAndKeysAreCaseInsensitiveAndValuesTrimmed) {
  Put("; settings\n[Boot]\n  Shell = explorer.exe  \nquoted=\" spaced \"\n[BOOT.description]\nshell=no\n");
  EXPECT_EQ(ReadProfileString(kFile, "BOOT", "SHELL", ""), "explorer.exe");
  EXPECT_EQ(ReadProfileString(kFile, "boot", "quoted", ""), " spaced ");
  EXPECT_EQ(ReadProfileString(kFile, "boot.Description", "Shell", ""), "no");
}

TEST_F(IniProfileTest, WritingCreatesTheFileAndSection) {
  ASSERT_TRUE(WriteProfileString(kFile, "BOOT", "SCRNSAVE.EXE", "/usr/lib/fluxo/FLUXO.SCR"));
  EXPECT_EQ(Contents(), "[BOOT]\nSCRNSAVE.EXE=/usr/lib/fluxo/FLUXO.SCR\n");
  EXPECT_EQ(ReadProfileString(kFile, "boot", "scrnsave.exe", ""), "/usr/lib/fluxo/FLUXO.SCR");
}

TEST_F(IniProfileTest, WritingKeepsEveryOtherLine) {
  Put("; top comment\r\n[boot]\r\nshell=explorer.exe\r\nSCRNSAVE.EXE=old.scr\r\n\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n");
  ASSERT_TRUE(WriteProfileString(kFile, "Boot", "scrnsave.exe", "(None)"));
  ASSERT_TRUE(WriteProfileString(kFile, "boot", "mouse.drv", "mouse.drv"));
  ASSERT_TRUE(WriteProfileString(kFile, "drivers", "wave", "mmsound.drv"));
  EXPECT_EQ(Contents(),
            "; top comment\r\n[boot]\r\nshell=explorer.exe\r\nscrnsave.exe=(None)\r\nmouse.drv=mouse.drv\r\n\r\n"
            "[386Enh]\r\nwoafont=dosapp.fon\r\n\r\n[drivers]\r\nwave=mmsound.drv\r\n");
}

TEST_F(IniProfileTest, NoValueDeletesTheKeyAndNoKeyTheSection) {
  Put("[boot]\na=1\nb=2\n[other]\nc=3\n");
  ASSERT_TRUE(WriteProfileString(kFile, "boot", "A", std::nullopt));
  EXPECT_EQ(Contents(), "[boot]\nb=2\n[other]\nc=3\n");
  ASSERT_TRUE(WriteProfileString(kFile, "BOOT", std::nullopt, std::nullopt));
  EXPECT_EQ(Contents(), "[other]\nc=3\n");
  ASSERT_TRUE(WriteProfileString(kFile, "missing", "x", std::nullopt));
  EXPECT_EQ(Contents(), "[other]\nc=3\n");
}

TEST_F(IniProfileTest, NamesAndValuesThatWouldBreakLinesAreRefused) {
  Put("[boot]\na=1\n");
  EXPECT_FALSE(WriteProfileString(kFile, "boot", "a", "1\n[evil]"));
  EXPECT_FALSE(WriteProfileString(kFile, "boot", "k=v", "1"));
  EXPECT_FALSE(WriteProfileString(kFile, "bo]ot", "a", "1"));
  EXPECT_FALSE(WriteProfileString(kFile, "", "a", "1"));
  EXPECT_FALSE(WriteProfileString(kFile, "boot", ";a", "1"));
  EXPECT_EQ(Contents(), "[boot]\na=1\n");
}

}  // namespace
}  // namespace fluxo::ini

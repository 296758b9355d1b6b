#include "settings/reg_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/registry/reg_file.h"
#include "registry/fresh_store.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome Reg(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = RunRegCommand(args, out, err);
  return {code, out.str(), err.str()};
}

constexpr char kDone[] = "The operation completed successfully.\n";

class RegCommandTest : public test::FreshStore {
 protected:
  void SetUp() override {
    test::FreshStore::SetUp();
    for (std::vector<std::string> add : {
             std::vector<std::string>{"add", "HKCU\\Software\\Fluxo", "/v", "Build", "/t", "REG_DWORD", "/d", "990"},
             std::vector<std::string>{"add", "HKCU\\Software\\Fluxo", "/v", "Dir", "/d", "/opt/fluxo"},
             std::vector<std::string>{"add", "HKEY_CURRENT_USER\\Software\\Fluxo", "/v", "Mode", "/t", "reg_binary", "/d", "0aFF10"},
             std::vector<std::string>{"add", "HKCU\\Software\\Fluxo", "/ve", "/d", "default text"},
             std::vector<std::string>{"add", "HKCU\\Software\\Fluxo\\Sub"},
         }) {
      Outcome o = Reg(add);
      ASSERT_EQ(o.code, 0) << o.err;
      ASSERT_EQ(o.out, kDone);
      ASSERT_EQ(o.err, "");
    }
  }

  // Everything under HKCU, to see that a refused command changed nothing.
  static std::string Snapshot() {
    std::string text;
    EXPECT_EQ(reg::ExportKey(reg::Hive::CurrentUser, "", text), reg::kSuccess);
    return text;
  }

  static void ExpectRefused(const std::vector<std::string>& args, const std::string& error) {
    const std::string before = Snapshot();
    Outcome o = Reg(args);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_EQ(o.err.rfind(error, 0), 0u) << "got: " << o.err;
    EXPECT_EQ(Snapshot(), before);
  }

  static std::string File(const char* name) { return test::TestHome() + "/" + name; }
  static std::string ReadWhole(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(RegCommandTest, QueryListsValuesThenSubkeys) {
  Outcome o = Reg({"query", "hkcu\\software\\fluxo"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out,
            "\n"
            "HKEY_CURRENT_USER\\software\\fluxo\n"
            "    Build    REG_DWORD    0x3de\n"
            "    Dir    REG_SZ    /opt/fluxo\n"
            "    Mode    REG_BINARY    0AFF10\n"
            "    (Default)    REG_SZ    default text\n"
            "\n"
            "HKEY_CURRENT_USER\\software\\fluxo\\Sub\n");
}

TEST_F(RegCommandTest, QueryOfOneValue) {
  Outcome o = Reg({"QUERY", "HKCU\\Software\\Fluxo", "/v", "build"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out, "\nHKEY_CURRENT_USER\\Software\\Fluxo\n    build    REG_DWORD    0x3de\n\n");
  o = Reg({"query", "HKCU\\Software\\Fluxo", "/ve"});
  EXPECT_EQ(o.out, "\nHKEY_CURRENT_USER\\Software\\Fluxo\n    (Default)    REG_SZ    default text\n\n");
}

TEST_F(RegCommandTest, AddTakesHexAndDecimalDwords) {
  ASSERT_EQ(Reg({"add", "HKLM\\SOFTWARE\\Test", "/v", "Hex", "/t", "REG_DWORD", "/d", "0x30009"}).code, 0);
  ASSERT_EQ(Reg({"add", "HKLM\\SOFTWARE\\Test", "/v", "Max", "/t", "REG_DWORD", "/d", "4294967295"}).code, 0);
  Outcome o = Reg({"query", "HKLM\\SOFTWARE\\Test"});
  EXPECT_EQ(o.out, "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Test\n    Hex    REG_DWORD    0x30009\n    Max    REG_DWORD    0xffffffff\n\n");
}

TEST_F(RegCommandTest, OverwritingNeedsForce) {
  ExpectRefused({"add", "HKCU\\Software\\Fluxo", "/v", "BUILD", "/t", "REG_DWORD", "/d", "1"},
                "ERROR: The value \"BUILD\" exists; add /f to overwrite it.");
  ExpectRefused({"add", "HKCU\\Software\\Fluxo", "/ve", "/d", "other"}, "ERROR: The value \"(Default)\" exists");
  Outcome o = Reg({"add", "HKCU\\Software\\Fluxo", "/v", "Build", "/t", "REG_DWORD", "/d", "1", "/F"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\Fluxo", "/v", "Build"}).out,
            "\nHKEY_CURRENT_USER\\Software\\Fluxo\n    Build    REG_DWORD    0x1\n\n");
}

TEST_F(RegCommandTest, DeleteRemovesAValueOrTheWholeTree) {
  ExpectRefused({"delete", "HKCU\\Software\\Fluxo", "/v", "Dir"}, "ERROR: Deleting needs /f");
  Outcome o = Reg({"delete", "HKCU\\Software\\Fluxo", "/v", "Dir", "/f"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, kDone);
  ExpectRefused({"query", "HKCU\\Software\\Fluxo", "/v", "Dir"}, "ERROR: The system was unable to find");

  o = Reg({"delete", "HKCU\\Software\\Fluxo", "/ve", "/f"});
  EXPECT_EQ(o.code, 0) << o.err;
  o = Reg({"delete", "HKCU\\Software", "/f"});
  EXPECT_EQ(o.code, 0) << o.err;
  reg::Key key;
  EXPECT_EQ(reg::OpenKey(reg::Hive::CurrentUser, "Software", key), reg::kErrorFileNotFound);
}

TEST_F(RegCommandTest, ExportThenImportRestoresTheTree) {
  const std::string before = Snapshot();
  const std::string file = File("fluxo.reg");
  Outcome o = Reg({"export", "HKCU\\Software", file});
  ASSERT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, kDone);
  EXPECT_EQ(ReadWhole(file).substr(0, 6), std::string("\xFF\xFEW\0i\0", 6)) << "UTF-16 with its mark";

  ASSERT_EQ(Reg({"delete", "HKCU\\Software", "/f"}).code, 0);
  EXPECT_NE(Snapshot(), before);
  o = Reg({"import", file});
  ASSERT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, kDone);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RegCommandTest, AMalformedImportChangesNothing) {
  const std::string file = File("bad.reg");
  std::ofstream(file) << "REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software]\n[HKEY_CURRENT_USER\\New]\n\"a\"=dword:1\n\"b\"=dword:zz\n";
  ExpectRefused({"import", file}, "ERROR: \"" + file + "\" line 6: malformed dword; nothing was imported.");
}

TEST_F(RegCommandTest, BadInputIsRefusedWithOneLine) {
  const std::string missing = File("missing.reg");
  ExpectRefused({}, "ERROR: Invalid syntax.");
  ExpectRefused({"rename", "HKCU\\Software"}, "ERROR: Invalid syntax.");
  ExpectRefused({"add", "HKCU\\Software", "/v"}, "ERROR: Invalid syntax.");
  ExpectRefused({"add", "HKCU\\Software", "/v", "a", "/ve"}, "ERROR: Invalid syntax.");
  ExpectRefused({"add", "HKCU\\Software", "/d", "no name"}, "ERROR: Invalid syntax.");
  ExpectRefused({"query", "HKCU\\Software", "extra"}, "ERROR: Invalid syntax.");
  ExpectRefused({"add", "HKU\\Software", "/v", "a", "/d", "x"}, "ERROR: Invalid key name.");
  ExpectRefused({"query", "Software\\Fluxo"}, "ERROR: Invalid key name.");
  ExpectRefused({"add", "HKCU\\New", "/v", "a", "/t", "REG_DWORD", "/d", "12x"}, "ERROR: Invalid data for REG_DWORD");
  ExpectRefused({"add", "HKCU\\New", "/v", "a", "/t", "REG_DWORD", "/d", "0x1FFFFFFFF"}, "ERROR: Invalid data for REG_DWORD");
  ExpectRefused({"add", "HKCU\\New", "/v", "a", "/t", "REG_DWORD", "/d", "-1"}, "ERROR: Invalid data for REG_DWORD");
  ExpectRefused({"add", "HKCU\\New", "/v", "a", "/t", "REG_BINARY", "/d", "abc"}, "ERROR: Invalid data for REG_BINARY");
  ExpectRefused({"add", "HKCU\\New", "/v", "a", "/t", "REG_QWORD", "/d", "1"}, "ERROR: Unsupported type \"REG_QWORD\"");
  ExpectRefused({"query", "HKCU\\Nothing"}, "ERROR: The system was unable to find");
  ExpectRefused({"query", "HKCU\\Software\\Fluxo", "/v", "Nothing"}, "ERROR: The system was unable to find");
  ExpectRefused({"delete", "HKCU\\Nothing", "/f"}, "ERROR: The system was unable to find");
  ExpectRefused({"delete", "HKCU\\Software\\Fluxo", "/v", "Nothing", "/f"}, "ERROR: The system was unable to find");
  ExpectRefused({"delete", "HKCU", "/f"}, "ERROR: A whole hive cannot be deleted.");
  ExpectRefused({"export", "HKCU\\Nothing", File("x.reg")}, "ERROR: The system was unable to find");
  ExpectRefused({"export", "HKCU\\Software", "/nonexistent/dir/x.reg"}, "ERROR: Cannot write");
  ExpectRefused({"import", missing}, "ERROR: Cannot read \"" + missing + "\".");
  ExpectRefused({"import", test::TestHome()}, "ERROR: Cannot read");
}

TEST_F(RegCommandTest, ExportRefusesToOverwriteAFileWithoutY) {
  const std::string file = File("kept.reg");
  std::ofstream(file) << "precious";
  ExpectRefused({"export", "HKCU\\Software", file}, "ERROR: \"" + file + "\" exists; add /y to overwrite it.");
  EXPECT_EQ(ReadWhole(file), "precious");
  Outcome o = Reg({"export", "HKCU\\Software", file, "/Y"});
  ASSERT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out, kDone);
  EXPECT_NE(ReadWhole(file), "precious");
  o = Reg({"import", file});
  EXPECT_EQ(o.code, 0) << o.err;
}

TEST_F(RegCommandTest, QueryShowsTextTypesAsTextAndQwordsAsNumbers) {
  const std::string file = File("types.reg");
  std::ofstream(file) << "REGEDIT4\n[HKEY_CURRENT_USER\\Types]\n"
                         "\"Expand\"=hex(2):25,48,4f,4d,45,25,00\n"
                         "\"Multi\"=hex(7):6f,6e,65,00,74,77,6f,00,00\n"
                         "\"Big\"=hex(b):00,00,00,00,01,00,00,00\n";
  ASSERT_EQ(Reg({"import", file}).code, 0);
  Outcome o = Reg({"query", "HKCU\\Types"});
  EXPECT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out,
            "\n"
            "HKEY_CURRENT_USER\\Types\n"
            "    Expand    REG_EXPAND_SZ    %HOME%\n"
            "    Multi    REG_MULTI_SZ    one\\0two\n"
            "    Big    REG_QWORD    0x100000000\n"
            "\n");
}

TEST_F(RegCommandTest, KeysBeyondTheLimitsAreRefusedWithTheReason) {
  std::string deep = "HKCU\\Deep";
  for (int i = 0; i < 512; ++i) deep += "\\k";
  ExpectRefused({"add", deep}, "ERROR: Invalid key name: key path deeper than 512 levels.");
  ExpectRefused({"add", "HKCU\\" + std::string(256, 'k')}, "ERROR: Invalid key name: key name longer than 255 characters.");
  ExpectRefused({"add", "HKCU\\Software\\Fluxo", "/v", std::string(16384, 'v'), "/d", "x"},
                "ERROR: Invalid value name: value name longer than 16383 characters.");
}

TEST_F(RegCommandTest, ARejectedImportNamesTheLine) {
  const std::string file = File("noquote.reg");
  std::ofstream(file) << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Fluxo]\r\n"
                         "Speed\"=hex:0f,00,00,00\r\n";
  ExpectRefused({"import", file}, "ERROR: \"" + file + "\" line 4: malformed value name; nothing was imported.");
}

}  // namespace
}  // namespace fluxo

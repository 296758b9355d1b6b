#include "settings/display_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "settings/display_fixture.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

class DisplayFileTest : public test::DisplayTest {
 protected:
  static std::string File(const std::string& name) { return test::TestHome() + "/" + name; }
  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  static void PutText(std::vector<uint8_t>& out, const std::string& text) {
    Put32(out, static_cast<uint32_t>(text.size() + 1));
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
  }
  // The magic and one good record: the display key's "ClearFirst".
  static std::vector<uint8_t> GoodStart() {
    std::vector<uint8_t> out;
    Put32(out, kDisplayFileMagic);
    PutText(out, "");
    PutText(out, "ClearFirst");
    Put32(out, reg::kRegBinary);
    Put32(out, 4);
    Put32(out, 0);
    return out;
  }
  // An "Old" display whose survival shows that a refused file changed nothing.
  void MakeOldDisplay() {
    ActivateOnly(kModuleStar);
    SaveCurrentDisplay("Old");
  }
  void ExpectOldDisplayWhole() {
    EXPECT_TRUE(DisplayHasModule("Old", "Star"));
    EXPECT_TRUE(KeyExists(PaletteKey("Old").c_str()));
    EXPECT_EQ(Number(DisplayKeyPath("Old"), "ClearFirst"), 1);
  }
};

TEST_F(DisplayFileTest, ExportImportExportGivesTheSameBytes) {
  EnsureStartupDisplays();
  const std::string a = File("a.FLX"), b = File("b.FLX");
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("[D] Bezier").c_str(), a.c_str()), 1);
  ASSERT_EQ(ImportDisplay(a.c_str(), "Copy"), 1);
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("Copy").c_str(), b.c_str()), 1);
  const std::vector<uint8_t> first = Bytes(a);
  ASSERT_GE(first.size(), 4u);
  EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + 4), (std::vector<uint8_t>{0x00, 0x42, 0x00, 0x42}));
  EXPECT_EQ(first, Bytes(b));

  // Same values in the store, in the same order, with the same types.
  std::vector<DisplayRecord> original, copy;
  ASSERT_TRUE(CollectDisplayRecords(DisplayKeyPath("[D] Bezier"), original));
  ASSERT_TRUE(CollectDisplayRecords(DisplayKeyPath("Copy"), copy));
  EXPECT_EQ(original, copy);
  ASSERT_FALSE(original.empty());
  EXPECT_EQ(original.front().path, "") << "the display key's values come first";
  EXPECT_EQ(original.front().name, "ClearFirst");
  EXPECT_EQ(original.back().path, "Palette") << "then Modules\\Bezier, then Palette";
}

TEST_F(DisplayFileTest, EverySequenceAndTypeSurvivesARoundTrip) {
  CurrentSequence().items.resize(2);
  std::snprintf(CurrentSequence().items[0].name, 128, "%s", "One");
  CurrentSequence().items[1].seconds = 7;
  SetActive(kModuleSequencer, true);
  SaveCurrentDisplay("Seq");
  const std::string f = File("seq.FLX");
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("Seq").c_str(), f.c_str()), 1);
  ASSERT_EQ(ImportDisplay(f.c_str(), "Seq2"), 1);
  uint32_t type = 0, size = 4;
  int32_t v = 0;
  ASSERT_EQ(reg::QueryValue(OpenKey(ModuleKey("Seq2", "Sequencer")), "T1", &type, &v, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegDword);
  EXPECT_EQ(v, 7);
  ASSERT_EQ(reg::QueryValue(OpenKey(DisplayKeyPath("Seq2")), "ClearFirst", &type, &v, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegBinary);
}

TEST_F(DisplayFileTest, AFileWithTheMagicAloneEmptiesTheDisplay) {
  MakeOldDisplay();
  const std::string f = File("empty.FLX");
  Write(f, {0x00, 0x42, 0x00, 0x42});
  EXPECT_EQ(ImportDisplay(f.c_str(), "Old"), 1);
  EXPECT_FALSE(KeyExists(DisplayKeyPath("Old").c_str()));
  // Exporting a display that does not exist gives the magic alone.
  EXPECT_EQ(ExportDisplay(DisplayKeyPath("Nonesuch").c_str(), f.c_str()), 0);
  EXPECT_EQ(Bytes(f).size(), 4u);
}

TEST_F(DisplayFileTest, RefusedFilesChangeNothing) {
  MakeOldDisplay();
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  cases.push_back({"empty file", {}});
  cases.push_back({"short magic", {0x00, 0x42, 0x00}});
  cases.push_back({"wrong magic", {0x42, 0x00, 0x42, 0x00}});
  {
    std::vector<uint8_t> v = GoodStart();
    Put32(v, 261);  // a path beyond 260 bytes
    v.resize(v.size() + 300, 'a');
    cases.push_back({"oversized path", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    PutText(v, "Palette");
    Put32(v, 0xFFFFFFFF);  // a negative name length
    cases.push_back({"negative name length", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    PutText(v, "Palette");
    PutText(v, "Custom");
    Put32(v, reg::kRegBinary);
    Put32(v, 1025);
    v.resize(v.size() + 1025, 1);
    cases.push_back({"oversized data", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    PutText(v, "Palette");
    PutText(v, "Custom");
    Put32(v, reg::kRegBinary);
    Put32(v, 0x80000000);  // huge, and far beyond the end of the file
    cases.push_back({"huge data length", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    Put32(v, 0);  // no room even for the terminating zero
    cases.push_back({"zero path length", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    Put32(v, 3);
    v.insert(v.end(), {'a', 'b', 'c'});  // no terminating zero
    PutText(v, "x");
    Put32(v, 1);
    Put32(v, 0);
    cases.push_back({"unterminated path", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    PutText(v, "Modules\\Star");
    PutText(v, "Check0");
    Put32(v, reg::kRegDword);
    Put32(v, 2);  // a number of two bytes cannot be stored
    v.insert(v.end(), {1, 0});
    cases.push_back({"unstorable value", v});
  }
  {
    std::vector<uint8_t> v = GoodStart();
    PutText(v, std::string(256, 'k'));  // one key name beyond 255 characters
    PutText(v, "x");
    Put32(v, 1);
    Put32(v, 0);
    cases.push_back({"unstorable key", v});
  }
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    const std::string f = File("bad.FLX");
    Write(f, bytes);
    EXPECT_EQ(ImportDisplay(f.c_str(), "Old"), 0);
    ExpectOldDisplayWhole();
    EXPECT_EQ(ListDisplays(), std::vector<std::string>{"Old"});
  }
  EXPECT_EQ(ImportDisplay(File("missing.FLX").c_str(), "Old"), 0);
  EXPECT_EQ(ImportDisplay(test::TestHome().c_str(), "Old"), 0) << "a folder";
  ExpectOldDisplayWhole();
}

TEST_F(DisplayFileTest, AFileThatBreaksOffKeepsTheRecordsBeforeIt) {
  MakeOldDisplay();
  std::vector<uint8_t> whole = GoodStart();
  PutText(whole, "Modules\\Bezier");
  PutText(whole, "Control0");
  Put32(whole, reg::kRegBinary);
  Put32(whole, 4);
  Put32(whole, 5);
  const size_t firstRecordEnd = GoodStart().size();
  // Cut inside every field of the second record: path length, path, name, type, data.
  for (size_t cut = firstRecordEnd + 1; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    const std::string f = File("cut.FLX");
    Write(f, std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
    ImportReport report = ImportDisplayReport(f.c_str(), "Old");
    EXPECT_EQ(report.outcome, ImportOutcome::ImportedTruncated);
    EXPECT_EQ(report.badOffset, firstRecordEnd);
    EXPECT_EQ(report.records, 1u);
    EXPECT_EQ(Number(DisplayKeyPath("Old"), "ClearFirst"), 0);
    EXPECT_FALSE(DisplayHasModule("Old", "Star")) << "the old display was replaced";
    EXPECT_FALSE(DisplayHasModule("Old", "Bezier"));
  }
  const std::string f = File("whole.FLX");
  Write(f, whole);
  EXPECT_EQ(ImportDisplayReport(f.c_str(), "Old").outcome, ImportOutcome::Imported);
  EXPECT_EQ(Number(ModuleKey("Old", "Bezier"), "Control0"), 5);
}

TEST_F(DisplayFileTest, RecordPathsStayInsideTheDisplay) {
  std::vector<uint8_t> v = GoodStart();
  PutText(v, "..\\..\\..\\Software");
  PutText(v, "Planted");
  Put32(v, reg::kRegSz);
  PutText(v, "x");  // (a data length and the bytes "x\0")
  const std::string f = File("climb.FLX");
  Write(f, v);
  ASSERT_EQ(ImportDisplay(f.c_str(), "Climb"), 1);
  EXPECT_TRUE(HasValue(DisplayKeyPath("Climb") + "\\..\\..\\..\\Software", "Planted"));
  EXPECT_FALSE(KeyExists("Software"));
  EXPECT_EQ(ImportDisplay(f.c_str(), "a\\b"), 0) << "a display name is one key";
}

TEST_F(DisplayFileTest, ExportRefusesValuesAFileCannotCarryAndLeavesNoFile) {
  MakeOldDisplay();
  reg::Key key = OpenKey(DisplayKeyPath("Old"));
  const std::string f = File("long.FLX");
  WriteNumber(key, std::string(127, 'n'), 1);
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("Old").c_str(), f.c_str()), 1) << "127 characters fit";
  WriteNumber(key, std::string(128, 'n'), 1);
  std::remove(f.c_str());
  EXPECT_EQ(ExportDisplay(DisplayKeyPath("Old").c_str(), f.c_str()), 0);
  EXPECT_FALSE(std::ifstream(f).good());
  std::vector<DisplayRecord> records;
  std::string problem;
  EXPECT_FALSE(CollectDisplayRecords(DisplayKeyPath("Old"), records, &problem));
  EXPECT_NE(problem.find("too long"), std::string::npos) << problem;
}

TEST_F(DisplayFileTest, ExportReplacesAnOldFileWholeAndFailsWithoutAFolder) {
  MakeOldDisplay();
  const std::string f = File("old.FLX");
  Write(f, std::vector<uint8_t>(100000, 0xEE));
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("Old").c_str(), f.c_str()), 1);
  std::vector<DisplayRecord> records;
  ASSERT_TRUE(CollectDisplayRecords(DisplayKeyPath("Old"), records));
  EXPECT_EQ(Bytes(f), SerializeDisplayFile(records));
  EXPECT_EQ(ExportDisplay(DisplayKeyPath("Old").c_str(), File("no/such/folder/x.FLX").c_str()), 0);
}

TEST(DisplayFileNameTest, ExportProposesASafeFileName) {
  EXPECT_EQ(ExportFileName("[D] Bezier"), "[D] Bezier");
  EXPECT_EQ(ExportFileName("a/b:c"), "a_b_c");
  EXPECT_EQ(ExportFileName("x*?\"<>|\\\xc3\xa9"), "x_________");
  EXPECT_EQ(ExportFileName("$%'-_@ ~`!(){.}^#&+,;=[]"), "$%'-_@ ~`!(){.}^#&+,;=[]");
}

TEST(DisplayFileParseTest, SerializeAndParseAreInverse) {
  std::vector<DisplayRecord> records = {{"", "ClearFirst", 3, {1, 0, 0, 0}},
                                        {"Modules\\Bezier", "Path", 1, {'a', 0}},
                                        {"Palette", "", 4, {}}};
  std::vector<uint8_t> bytes = SerializeDisplayFile(records);
  ParsedDisplayFile parsed = ParseDisplayFile(bytes.data(), bytes.size());
  EXPECT_EQ(parsed.status, DisplayFileStatus::Complete);
  EXPECT_EQ(parsed.records, records);
  EXPECT_EQ(ParseDisplayFile(bytes.data(), bytes.size(), 0x12345678).status, DisplayFileStatus::NotADisplayFile);
}

TEST_F(DisplayFileTest, RegisterFileTypeWritesTheAssociation) {
  EXPECT_EQ(RegisterFileType("/usr/bin/fluxo"), 1);
  char text[300];
  ASSERT_TRUE(ReadMachineValue(reg::Hive::ClassesRoot, ".FLX", "", text, sizeof text));
  EXPECT_STREQ(text, "Fluxo");
  ASSERT_TRUE(ReadMachineValue(reg::Hive::ClassesRoot, ".FLX", "Content Type", text, sizeof text));
  EXPECT_STREQ(text, "application/fluxo");
  ASSERT_TRUE(ReadMachineValue(reg::Hive::ClassesRoot, "Fluxo\\shell\\open\\command", "", text, sizeof text));
  EXPECT_STREQ(text, "Fluxo.SCR /S %1");
  ASSERT_TRUE(ReadMachineValue(reg::Hive::ClassesRoot, "Fluxo\\DefaultIcon", "", text, sizeof text));
  EXPECT_STREQ(text, "/usr/bin/fluxo,2");
}

}  // namespace
}  // namespace fluxo

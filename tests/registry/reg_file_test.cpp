#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry/reg_file.h"
#include "registry/fresh_store.h"

namespace fluxo::reg {
namespace {

class RegFileTest : public test::FreshStore {
 protected:
  static Key Make(Hive hive, const char* path) {
    Key key;
    EXPECT_EQ(CreateKey(hive, path, key), kSuccess) << path;
    return key;
  }
  static void Text(const Key& key, const char* name, const std::string& text) {
    ASSERT_EQ(SetValue(key, name, kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1)), kSuccess);
  }
  static void Dword(const Key& key, const char* name, uint32_t v) {
    ASSERT_EQ(SetValue(key, name, kRegDword, &v, 4), kSuccess);
  }
  static void Binary(const Key& key, const char* name, const std::vector<uint8_t>& data) {
    ASSERT_EQ(SetValue(key, name, kRegBinary, data.data(), static_cast<uint32_t>(data.size())), kSuccess);
  }
  // The 8-bit form, easy to compare; the UTF-16 form has tests of its own.
  static std::string Export(Hive hive, const char* path) {
    std::string text;
    EXPECT_EQ(ExportKey(hive, path, text, RegFileFormat::Regedit4), kSuccess);
    return text;
  }
  static void Import(const std::string& text) {
    std::string error;
    ASSERT_TRUE(ImportText(text, error)) << error;
  }
  static std::string ErrorOf(const std::string& text) {
    std::string error;
    EXPECT_FALSE(ImportText(text, error));
    return error;
  }
};

TEST_F(RegFileTest, ExportWritesKeysValuesAndSubkeysInOrder) {
  Key top = Make(Hive::CurrentUser, "Software\\Fluxo");
  Dword(top, "Current Version", 0x30009);
  Text(top, "Dir", "C:\\Fluxo \"new\"");
  Binary(top, "Speed", {10, 0, 0, 0});
  Text(top, "", "default");
  Make(Hive::CurrentUser, "Software\\Fluxo\\beta");
  Key alpha = Make(Hive::CurrentUser, "Software\\Fluxo\\Alpha");
  Binary(alpha, "Empty", {});
  EXPECT_EQ(Export(Hive::CurrentUser, "Software\\Fluxo"),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Fluxo]\r\n"
            "\"Current Version\"=dword:00030009\r\n"
            "\"Dir\"=\"C:\\\\Fluxo \\\"new\\\"\"\r\n"
            "\"Speed\"=hex:0a,00,00,00\r\n"
            "@=\"default\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Fluxo\\Alpha]\r\n"
            "\"Empty\"=hex:\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Fluxo\\beta]\r\n"
            "\r\n");
}

TEST_F(RegFileTest, ExportOfAMissingKeyFails) {
  std::string text = "unchanged";
  EXPECT_EQ(ExportKey(Hive::LocalMachine, "SOFTWARE\\Nothing", text), kErrorFileNotFound);
  EXPECT_EQ(text, "unchanged");
}

TEST_F(RegFileTest, LongBinaryValuesWrapAndComeBack) {
  std::vector<uint8_t> mode(156);
  for (size_t i = 0; i < mode.size(); ++i) mode[i] = static_cast<uint8_t>(i * 7);
  Key key = Make(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo");
  Binary(key, "DisplayMode", mode);
  std::string text = Export(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo");
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 81u) << text.substr(start, end - start);
  EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);

  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteTree(root, "Control Panel"), kSuccess);
  Import(text);
  Key back;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo", back), kSuccess);
  std::vector<uint8_t> read(200);
  uint32_t type = 0, size = 200;
  ASSERT_EQ(QueryValue(back, "DisplayMode", &type, read.data(), &size), kSuccess);
  read.resize(size);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(read, mode);
}

TEST_F(RegFileTest, ExportThenImportRestoresTheSameTree) {
  Key top = Make(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo\\Saved\\[D] Bezier");
  Text(top, "Active", "Scratch");
  Dword(top, "Build", 990);
  Key palette = Make(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo\\Saved\\[D] Bezier\\Palette");
  Binary(palette, "RedMorphRateSource", {3, 0, 0, 0});
  // A text with a line break cannot be quoted; it travels as hex(1).
  Text(palette, "Two lines", "one\ntwo");
  const char multi[] = "a\0b\0";
  ASSERT_EQ(SetValue(palette, "List", 7, multi, sizeof multi), kSuccess);
  std::string before = Export(Hive::CurrentUser, "Control Panel");
  EXPECT_NE(before.find("\"Two lines\"=hex(1):"), std::string::npos);
  EXPECT_NE(before.find("\"List\"=hex(7):61,00,62,00,00"), std::string::npos);

  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteTree(root, "Control Panel"), kSuccess);
  Import(before);
  EXPECT_EQ(Export(Hive::CurrentUser, "Control Panel"), before);
}

TEST_F(RegFileTest, ImportReadsTheOlderHeaderCommentsAndShortHiveNames) {
  Import(
      "REGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKLM\\Software\\Tonewell]\r\n"
      "@=\"tonewell --play\"\r\n"
      "\"Current Version\" = dword:3\r\n"
      "\"Bytes\"=hex:01, 02 ,\\\r\n"
      "   03\r\n");
  Key key;
  ASSERT_EQ(OpenKey(Hive::LocalMachine, "SOFTWARE\\TONEWELL", key), kSuccess);
  char text[32];
  uint32_t size = sizeof text;
  ASSERT_EQ(QueryValue(key, "", nullptr, text, &size), kSuccess);
  EXPECT_STREQ(text, "tonewell --play");
  uint32_t version = 0, type = 0;
  size = 4;
  ASSERT_EQ(QueryValue(key, "Current Version", &type, &version, &size), kSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(version, 3u);
  uint8_t bytes[8];
  size = sizeof bytes;
  ASSERT_EQ(QueryValue(key, "Bytes", nullptr, bytes, &size), kSuccess);
  ASSERT_EQ(size, 3u);
  EXPECT_EQ(bytes[2], 3);
}

TEST_F(RegFileTest, ImportReadsUtf16WithItsMark) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Wide]\n\"Name\"=\"caf")) {
    utf16 += c;
    utf16 += '\0';
  }
  utf16 += "\xE9";
  utf16 += '\0';
  utf16 += "\"";
  utf16 += '\0';
  Import(utf16);
  Key key;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "Wide", key), kSuccess);
  char text[16];
  uint32_t size = sizeof text;
  ASSERT_EQ(QueryValue(key, "Name", nullptr, text, &size), kSuccess);
  EXPECT_STREQ(text, "caf\xC3\xA9");
}

TEST_F(RegFileTest, ImportDeletesKeysAndValues) {
  Key a = Make(Hive::CurrentUser, "A");
  Text(a, "keep", "1");
  Text(a, "drop", "2");
  Make(Hive::CurrentUser, "A\\Sub\\Deeper");
  Import(
      "Windows Registry Editor Version 5.00\n"
      "[-HKEY_CURRENT_USER\\A\\Sub]\n"
      "[-HKEY_CURRENT_USER\\Never\\There]\n"
      "[HKEY_CURRENT_USER\\A]\n"
      "\"drop\"=-\n"
      "\"absent\"=-\n");
  Key sub;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "A\\Sub", sub), kErrorFileNotFound);
  uint32_t size = 0;
  EXPECT_EQ(QueryValue(a, "drop", nullptr, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(QueryValue(a, "keep", nullptr, nullptr, &size), kSuccess);
}

TEST_F(RegFileTest, AMalformedFileChangesNothing) {
  Key a = Make(Hive::CurrentUser, "A");
  Text(a, "v", "old");
  const std::string before = Export(Hive::CurrentUser, "A");
  const std::string good = "Windows Registry Editor Version 5.00\n[-HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"new\"\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {good + "[HKEY_USERS\\X]\n", "line 5: unknown root key"},
      {good + "\"n\"=dword:123456789\n", "line 5: malformed dword"},
      {good + "\"n\"=dword:xyz\n", "line 5: malformed dword"},
      {good + "\"n\"=hex:01,zz\n", "line 5: malformed hex data"},
      {good + "\"n\"=hex:\\\n  1ff\n", "line 5: malformed hex data"},
      {good + "\"n\"=hex(4):01,02\n", "line 5: a dword needs four bytes"},
      {good + "\"n\"=\"open\n", "line 5: malformed text"},
      {good + "\"n\"=\"bad \\q escape\"\n", "line 5: malformed text"},
      {good + "\"n\"=\"text\" trailing\n", "line 5: malformed text"},
      {good + "\"n\"=word:1\n", "line 5: unknown value data"},
      {good + "\"n\" \"text\"\n", "line 5: missing '='"},
      {good + "[HKEY_CURRENT_USER\\B\n", "line 5: malformed key line"},
      {good + "[-HKEY_CURRENT_USER]\n", "line 5: a whole hive cannot be deleted"},
      {good + "[-HKEY_CURRENT_USER\\B]\n\"n\"=\"x\"\n", "line 6: value outside a key"},
      {"[HKEY_CURRENT_USER\\A]\n\"v\"=\"new\"\n", "line 1: not a registry export"},
      {"", "line 1: not a registry export"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error = ErrorOf(text);
    EXPECT_EQ(error.rfind(expected, 0), 0u) << "got \"" << error << "\" for:\n" << text;
    EXPECT_EQ(Export(Hive::CurrentUser, "A"), before) << text;
  }
  Key none;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "B", none), kErrorFileNotFound);
}


TEST_F(RegFileTest, AValueLineWithoutItsOpeningQuoteIsRefused) {
  Key a = Make(Hive::CurrentUser, "A");
  Text(a, "", "default");
  Text(a, "peed", "old");
  const std::string before = Export(Hive::CurrentUser, "A");
  EXPECT_EQ(ErrorOf("REGEDIT4\n[HKEY_CURRENT_USER\\A]\nSpeed\"=hex:0f,00,00,00\n"), "line 3: malformed value name");
  EXPECT_EQ(ErrorOf("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\n\nx\"=-\n"), "line 5: malformed value name");
  EXPECT_EQ(ErrorOf("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n@x=\"1\"\n"), "line 3: missing '='");
  EXPECT_EQ(Export(Hive::CurrentUser, "A"), before);
}

TEST_F(RegFileTest, AContinuationInsideAQuotedTextIsRefusedNotJoined) {
  Make(Hive::CurrentUser, "A");
  const std::string before = Export(Hive::CurrentUser, "A");
  EXPECT_EQ(ErrorOf("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"n\"=\"abc\\\ndef\"\n"), "line 3: malformed text");
  EXPECT_EQ(ErrorOf("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"na\\\nme\"=\"x\"\n"), "line 3: malformed value name");
  EXPECT_EQ(Export(Hive::CurrentUser, "A"), before);
  // An escaped quote followed by a continuation outside the text still joins.
  Import("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"q\\\"\"=hex:01,\\\n  02\n");
  Key a;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "A", a), kSuccess);
  uint8_t bytes[4];
  uint32_t size = sizeof bytes;
  ASSERT_EQ(QueryValue(a, "q\"", nullptr, bytes, &size), kSuccess);
  EXPECT_EQ(size, 2u);
}

TEST_F(RegFileTest, TextTypesInVersion5HexAreUtf16AndStoreLikeRegedit4) {
  // "%DIR%\é" as REG_EXPAND_SZ and "a","ü" as REG_MULTI_SZ, each in both forms.
  Import(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_CURRENT_USER\\Five]\n"
      "\"Path\"=hex(2):25,00,44,00,49,00,52,00,25,00,5c,00,e9,00,00,00\n"
      "\"List\"=hex(7):61,00,00,00,fc,00,00,00,00,00\n");
  Import(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Four]\n"
      "\"Path\"=hex(2):25,44,49,52,25,5c,c3,a9,00\n"
      "\"List\"=hex(7):61,00,c3,bc,00,00\n");
  Key five, four;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "Five", five), kSuccess);
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "Four", four), kSuccess);
  for (const char* name : {"Path", "List"}) {
    std::vector<uint8_t> a(64), b(64);
    uint32_t typeA = 0, typeB = 0, sizeA = 64, sizeB = 64;
    ASSERT_EQ(QueryValue(five, name, &typeA, a.data(), &sizeA), kSuccess);
    ASSERT_EQ(QueryValue(four, name, &typeB, b.data(), &sizeB), kSuccess);
    a.resize(sizeA);
    b.resize(sizeB);
    EXPECT_EQ(typeA, typeB) << name;
    EXPECT_EQ(a, b) << name;
  }
  EXPECT_EQ(ErrorOf("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n\"odd\"=hex(2):41,00,42\n"),
            "line 3: text data in UTF-16 needs an even number of bytes");
}

TEST_F(RegFileTest, Version5ExportIsUtf16WithItsMarkAndCrlf) {
  Key key = Make(Hive::CurrentUser, "Software\\Caf\xC3\xA9");
  Text(key, "Name", "\xE2\x82\xAC 5");
  std::string text;
  ASSERT_EQ(ExportKey(Hive::CurrentUser, "Software\\Caf\xC3\xA9", text), kSuccess);
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(text.size() % 2, 0u);
  std::string expected = "Windows Registry Editor Version 5.00\r\n";
  std::string wide;
  for (char c : expected) wide += std::string{c, '\0'};
  EXPECT_EQ(text.substr(2, wide.size()), wide);
  // The euro sign is one UTF-16 unit, AC 20.
  EXPECT_NE(text.find(std::string("\"\0\xAC\x20 \0" "5\0\"\0", 10)), std::string::npos);
  for (size_t at = 2; at + 1 < text.size(); at += 2) {
    if (text[at] == '\n' && text[at + 1] == 0) {
      EXPECT_EQ(text.substr(at - 2, 2), std::string("\r\0", 2)) << at;
    }
  }
}

TEST_F(RegFileTest, ExportNamesKeysAsStoredWhateverCaseWasTyped) {
  Make(Hive::CurrentUser, "Software\\Fluxo\\Sub");
  std::string text;
  ASSERT_EQ(ExportKey(Hive::CurrentUser, "SOFTWARE\\fluxo", text, RegFileFormat::Regedit4), kSuccess);
  EXPECT_EQ(text,
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Fluxo]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Fluxo\\Sub]\r\n"
            "\r\n");
}

TEST_F(RegFileTest, BothFormatsRoundTripTextTypesAndNamesBeyondAscii) {
  Key key = Make(Hive::CurrentUser, "\xC3\x84rger\\\xE6\x97\xA5\xE6\x9C\xAC");
  Text(key, "Gr\xC3\xB6\xC3\x9F" "e", "\xE2\x82\xAC");
  Text(key, "Two lines", "eins\nzwei \xC3\xBC");
  const char expand[] = "%HOME%\\\xC3\xA9";
  ASSERT_EQ(SetValue(key, "Expand", 2, expand, sizeof expand), kSuccess);
  const char multi[] = "a\0\xC3\xBC\0";
  ASSERT_EQ(SetValue(key, "Multi", 7, multi, sizeof multi), kSuccess);
  const uint8_t qword[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(SetValue(key, "Q", 11, qword, 8), kSuccess);
  for (RegFileFormat format : {RegFileFormat::Version5, RegFileFormat::Regedit4}) {
    std::string before;
    ASSERT_EQ(ExportKey(Hive::CurrentUser, "\xC3\x84rger", before, format), kSuccess);
    Key root;
    ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
    ASSERT_EQ(DeleteTree(root, "\xC3\x84rger"), kSuccess);
    Import(before);
    std::string after;
    ASSERT_EQ(ExportKey(Hive::CurrentUser, "\xC3\x84rger", after, format), kSuccess);
    EXPECT_EQ(after, before);
  }
}

}  // namespace
}  // namespace fluxo::reg

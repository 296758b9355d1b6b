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
  static std::string Export(Hive hive, const char* path) {
    std::string text;
    EXPECT_EQ(ExportKey(hive, path, text), kSuccess);
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
  EXPECT_EQ(Export(Hive::CurrentUser, "software\\fluxo"),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\software\\fluxo]\n"
            "\"Current Version\"=dword:00030009\n"
            "\"Dir\"=\"C:\\\\Fluxo \\\"new\\\"\"\n"
            "\"Speed\"=hex:0a,00,00,00\n"
            "@=\"default\"\n"
            "\n"
            "[HKEY_CURRENT_USER\\software\\fluxo\\Alpha]\n"
            "\"Empty\"=hex:\n"
            "\n"
            "[HKEY_CURRENT_USER\\software\\fluxo\\beta]\n"
            "\n");
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
    EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
  EXPECT_NE(text.find(",\\\n  "), std::string::npos);

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

}  // namespace
}  // namespace fluxo::reg

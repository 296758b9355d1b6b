#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/fresh_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

using SettingsStoreTest = test::FreshStore;

const std::string kRoot = std::string("Control Panel\\") + kRootName;

reg::Key MakeRoot() {
  reg::Key key;
  EXPECT_EQ(reg::CreateKey(reg::Hive::CurrentUser, kRoot, key), reg::kSuccess);
  return key;
}

TEST(SettingsNamesTest, RootNameAndControlValueNames) {
  BuildControlValueNames();
  EXPECT_STREQ(kRootName, "Screen Saver.Fluxo");
  EXPECT_STREQ(SettingsKeyName(), "Screen Saver.Fluxo");
  const ControlValueNames& names = ControlNames();
  EXPECT_STREQ(names.control[0], "Control0");
  EXPECT_STREQ(names.control[12], "Control12");
  EXPECT_STREQ(names.rangeLo[7], "RangeLo7");
  EXPECT_STREQ(names.rangeHi[29], "RangeHi29");
  EXPECT_STREQ(names.check[10], "Check10");
  EXPECT_STREQ(names.sense[3], "Sense3");
}

TEST_F(SettingsStoreTest, ReadingWithoutTheRootKeyGivesZeros) {
  uint8_t buffer[8];
  std::memset(buffer, 0xAB, sizeof buffer);
  EXPECT_EQ(ReadSetting("Speed", kRootName, reg::kRegBinary, buffer, sizeof buffer), 0);
  for (uint8_t b : buffer) EXPECT_EQ(b, 0);
  EXPECT_FALSE(RootExists(kRootName));
  EXPECT_FALSE(KeyExists(kRoot.c_str()));
}

TEST_F(SettingsStoreTest, WritingNeedsTheRootKeyAndDoesNotCreateIt) {
  uint32_t v = 5;
  EXPECT_EQ(WriteSetting("Speed", kRootName, reg::kRegBinary, &v, 4), 0);
  EXPECT_FALSE(RootExists(kRootName));
  MakeRoot();
  EXPECT_TRUE(RootExists(kRootName));
  EXPECT_EQ(WriteSetting("Speed", kRootName, reg::kRegBinary, &v, 4), 1);
  uint32_t back = 0;
  EXPECT_EQ(ReadSetting("SPEED", kRootName, reg::kRegBinary, &back, 4), 1);
  EXPECT_EQ(back, 5u);
}

TEST_F(SettingsStoreTest, SizeZeroDeletesTheValue) {
  MakeRoot();
  uint32_t v = 9;
  ASSERT_EQ(WriteSetting("HomingRate", kRootName, reg::kRegBinary, &v, 4), 1);
  EXPECT_EQ(WriteSetting("HomingRate", kRootName, reg::kRegBinary, nullptr, 0), 1);
  uint32_t back = 77;
  EXPECT_EQ(ReadSetting("HomingRate", kRootName, reg::kRegBinary, &back, 4), 0);
  EXPECT_EQ(back, 0u);
  // Deleting what is not there is still a successful write.
  EXPECT_EQ(WriteSetting("HomingRate", kRootName, reg::kRegBinary, nullptr, 0), 1);
}

TEST_F(SettingsStoreTest, TextsAndOversizedValues) {
  MakeRoot();
  const char active[] = "Scratch";
  ASSERT_EQ(WriteSetting("Active", kRootName, reg::kRegSz, active, sizeof active), 1);
  char text[128];
  EXPECT_EQ(ReadSetting("Active", kRootName, reg::kRegSz, text, sizeof text), 1);
  EXPECT_STREQ(text, "Scratch");
  // A value longer than the reader's buffer reads as nothing.
  char small[4];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(ReadSetting("Active", kRootName, reg::kRegSz, small, sizeof small), 0);
  EXPECT_EQ(std::string(small, 4), std::string(4, '\0'));
}

TEST_F(SettingsStoreTest, ReadersIgnoreTheStoredType) {
  reg::Key root = MakeRoot();
  uint32_t v = 241;
  ASSERT_EQ(reg::SetValue(root, "BlankTimeout", reg::kRegDword, &v, 4), reg::kSuccess);
  uint32_t back = 0;
  EXPECT_EQ(ReadSetting("BlankTimeout", kRootName, reg::kRegBinary, &back, 4), 1);
  EXPECT_EQ(back, 241u);
}

TEST_F(SettingsStoreTest, DeleteKeyTreeRemovesADisplayWithItsSubkeys) {
  reg::Key saved;
  ASSERT_EQ(reg::CreateKey(reg::Hive::CurrentUser, kRoot + "\\Saved", saved), reg::kSuccess);
  reg::Key bezier, palette, other;
  ASSERT_EQ(reg::CreateKey(saved, "[D] Bezier\\Modules\\Bezier", bezier), reg::kSuccess);
  ASSERT_EQ(reg::CreateKey(saved, "[D] Bezier\\Palette", palette), reg::kSuccess);
  ASSERT_EQ(reg::CreateKey(saved, "Other", other), reg::kSuccess);
  uint32_t v = 1;
  ASSERT_EQ(reg::SetValue(bezier, "Control12", reg::kRegBinary, &v, 4), reg::kSuccess);

  EXPECT_EQ(DeleteKeyTree(saved, "[d] bezier"), reg::kSuccess);
  EXPECT_FALSE(KeyExists((kRoot + "\\Saved\\[D] Bezier").c_str()));
  EXPECT_FALSE(KeyExists((kRoot + "\\Saved\\[D] Bezier\\Palette").c_str()));
  EXPECT_TRUE(KeyExists((kRoot + "\\Saved\\Other").c_str()));
  EXPECT_EQ(DeleteKeyTree(saved, "[D] Bezier"), reg::kErrorFileNotFound);
}

TEST_F(SettingsStoreTest, DeleteKeyTreeWithoutANameIsABadKeyAndDeletesNothing) {
  reg::Key saved;
  ASSERT_EQ(reg::CreateKey(reg::Hive::CurrentUser, kRoot + "\\Saved\\A", saved), reg::kSuccess);
  reg::Key root;
  ASSERT_EQ(reg::OpenKey(reg::Hive::CurrentUser, kRoot, root), reg::kSuccess);
  EXPECT_EQ(DeleteKeyTree(root, ""), reg::kErrorBadKey);
  EXPECT_EQ(DeleteKeyTree(root, nullptr), reg::kErrorBadKey);
  EXPECT_TRUE(KeyExists((kRoot + "\\Saved\\A").c_str()));
}

TEST_F(SettingsStoreTest, MachineStringsAreCreatedAndReadBack) {
  const char* uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Fluxo";
  ASSERT_EQ(WriteMachineString(reg::Hive::LocalMachine, uninstall, "DisplayName", "Fluxo"), 1);
  char text[32];
  std::memset(text, 'x', sizeof text);
  ASSERT_EQ(ReadMachineValue(reg::Hive::LocalMachine, uninstall, "displayname", text, sizeof text), 1);
  EXPECT_STREQ(text, "Fluxo");
  EXPECT_EQ(text[sizeof text - 1], '\0') << "the buffer is zeroed first";
  EXPECT_EQ(ReadMachineValue(reg::Hive::LocalMachine, "SOFTWARE\\Absent", "x", text, sizeof text), 0);
  EXPECT_STREQ(text, "");
}

TEST_F(SettingsStoreTest, TextsReadIntoAFixedBufferAlwaysEndInsideIt) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, "Software\\Tonewell", key), reg::kSuccess);
  char text[261];
  auto store = [&](uint32_t type, const std::string& bytes) {
    ASSERT_EQ(reg::SetValue(key, "", type, bytes.data(), static_cast<uint32_t>(bytes.size())), reg::kSuccess);
    std::memset(text, 'x', sizeof text);
  };
  auto read = [&] { return ReadMachineText(reg::Hive::LocalMachine, "Software\\Tonewell", "", text, sizeof text); };

  store(reg::kRegBinary, std::string(261, 'a'));  // fills the buffer, no zero
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '\0'));
  store(reg::kRegSz, std::string(260, 'b'));  // stored with its zero: 261 bytes
  EXPECT_EQ(read(), 1);
  EXPECT_EQ(std::string(text), std::string(260, 'b'));
  store(reg::kRegBinary, std::string(260, 'c'));  // no zero, but room for one
  EXPECT_EQ(read(), 1);
  EXPECT_EQ(std::string(text), std::string(260, 'c'));
  store(reg::kRegBinary, std::string(262, 'd'));
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(text[0], '\0');
  EXPECT_EQ(ReadMachineText(reg::Hive::LocalMachine, "Software\\Missing", "", text, sizeof text), 0);
  EXPECT_EQ(ReadMachineText(reg::Hive::LocalMachine, "Software\\Tonewell", "", text, 0), 0);
}

TEST_F(SettingsStoreTest, ACompanionCommandThatFillsItsBufferIsNotStarted) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, "Software\\Tonewell", key), reg::kSuccess);
  std::string command = "/nonexistent/tonewell" + std::string(261 - 21, 'x');
  ASSERT_EQ(command.size(), 261u);
  ASSERT_EQ(reg::SetValue(key, "", reg::kRegBinary, command.data(), 261), reg::kSuccess);
  EXPECT_FALSE(LaunchCompanion(0, 0, false));
}

TEST_F(SettingsStoreTest, DwordsAreWrittenAndReadAndReadingCreatesTheKey) {
  EXPECT_EQ(ReadDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version"), 0u);
  EXPECT_TRUE(KeyExists("Software\\Tonewell"));
  ASSERT_EQ(WriteDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version", reg::kRegDword, 0x30003), 1);
  EXPECT_EQ(ReadDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version"), 0x30003u);
}

TEST_F(SettingsStoreTest, PublishVersionStampsMajorMinorAndBuild) {
  PublishVersion(3, 9, 990);
  reg::Key key;
  ASSERT_EQ(reg::OpenKey(reg::Hive::CurrentUser, "Software\\Fluxo", key), reg::kSuccess);
  uint32_t type = 0, value = 0, size = 4;
  ASSERT_EQ(reg::QueryValue(key, "Current Version", &type, &value, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegDword);
  EXPECT_EQ(value, 0x00030009u);
  ASSERT_EQ(reg::QueryValue(key, "Build", &type, &value, &size), reg::kSuccess);
  EXPECT_EQ(value, 990u);
}

TEST_F(SettingsStoreTest, RecordExceptionWritesThePlaceEvenOnAFreshProfile) {
  RecordException("SaveScreen");
  char text[64];
  ASSERT_EQ(ReadSetting("Exception", kRootName, reg::kRegSz, text, sizeof text), 1);
  EXPECT_STREQ(text, "SaveScreen");
  RecordException("AnimatePalette");
  ASSERT_EQ(ReadSetting("Exception", kRootName, reg::kRegSz, text, sizeof text), 1);
  EXPECT_STREQ(text, "AnimatePalette");
}

TEST(NumberBytesTest, LittleEndianBothWays) {
  const auto bytes = EncodeNumber(0x12345678);
  EXPECT_EQ(bytes[0], 0x78);
  EXPECT_EQ(bytes[3], 0x12);
  EXPECT_EQ(DecodeNumber(bytes.data()), 0x12345678u);
  EXPECT_EQ(DecodeNumber(EncodeNumber(0xFFFFFFFF).data()), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

namespace fluxo::reg {
namespace {

using KeyTest = test::FreshStore;

std::vector<std::string> Subkeys(const Key& key) {
  std::vector<std::string> names;
  std::string name;
  for (uint32_t i = 0; EnumKey(key, i, name) == kSuccess; ++i) names.push_back(name);
  return names;
}

TEST_F(KeyTest, OpeningAMissingKeyFailsAndCreatesNothing) {
  Key key;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "Software\\Fluxo", key), kErrorFileNotFound);
  EXPECT_FALSE(key.IsOpen());
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  std::string name;
  EXPECT_EQ(EnumKey(root, 0, name), kErrorNoMoreItems);
}

TEST_F(KeyTest, CreateMakesEveryLevelAndReportsWhetherItWasNew) {
  Key made;
  bool created = false;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo\\Saved", made, &created), kSuccess);
  EXPECT_TRUE(created);
  Key again;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo\\Saved", again, &created), kSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(again.id, made.id);
  Key middle;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo", middle), kSuccess);
}

TEST_F(KeyTest, NamesAreCaseInsensitiveAndKeepTheirFirstSpelling) {
  Key made;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Software\\Fluxo", made), kSuccess);
  Key opened;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "SOFTWARE\\fluxo", opened), kSuccess);
  EXPECT_EQ(opened.id, made.id);
  Key same;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "software\\FLUXO", same), kSuccess);
  EXPECT_EQ(same.id, made.id);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  EXPECT_EQ(Subkeys(root), std::vector<std::string>{"Software"});
}

TEST_F(KeyTest, SeparatorsAtTheEdgesAreIgnored) {
  Key made;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "\\A\\\\B\\", made), kSuccess);
  Key opened;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "A\\B", opened), kSuccess);
  EXPECT_EQ(opened.id, made.id);
}

TEST_F(KeyTest, HivesAreSeparate) {
  Key user;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Software\\Tonewell", user), kSuccess);
  Key machine;
  EXPECT_EQ(OpenKey(Hive::LocalMachine, "Software\\Tonewell", machine), kErrorFileNotFound);
  EXPECT_EQ(OpenKey(Hive::ClassesRoot, "Software", machine), kErrorFileNotFound);
}

TEST_F(KeyTest, RelativeOpenAndCreateWorkFromAParent) {
  Key parent;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Control Panel", parent), kSuccess);
  Key child;
  ASSERT_EQ(CreateKey(parent, "Desktop", child), kSuccess);
  Key viaPath;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "control panel\\desktop", viaPath), kSuccess);
  EXPECT_EQ(viaPath.id, child.id);
  Key self;
  ASSERT_EQ(OpenKey(parent, "", self), kSuccess);
  EXPECT_EQ(self.id, parent.id);
}

TEST_F(KeyTest, OverlongNamesAndLineBreaksAreRejected) {
  Key key;
  EXPECT_EQ(CreateKey(Hive::CurrentUser, std::string(256, 'k'), key), kErrorInvalidParameter);
  EXPECT_EQ(CreateKey(Hive::CurrentUser, "a\\line\nbreak", key), kErrorInvalidParameter);
  EXPECT_EQ(CreateKey(Hive::CurrentUser, std::string("zero\0", 5), key), kErrorInvalidParameter);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  std::string name;
  EXPECT_EQ(EnumKey(root, 0, name), kErrorNoMoreItems) << "nothing of a refused path is left";
  ASSERT_EQ(CreateKey(Hive::CurrentUser, std::string(255, 'k'), key), kSuccess);
  uint32_t v = 1;
  EXPECT_EQ(SetValue(key, "two\r\nlines", kRegDword, &v, 4), kErrorInvalidParameter);
  EXPECT_EQ(SetValue(key, std::string(16384, 'v'), kRegDword, &v, 4), kErrorInvalidParameter);
  EXPECT_EQ(SetValue(key, std::string(16383, 'v'), kRegDword, &v, 4), kSuccess);
}

TEST_F(KeyTest, SubkeysEnumerateInCaseInsensitiveOrder) {
  Key parent;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Saved", parent), kSuccess);
  for (const char* name : {"zeta", "Alpha", "beta", "[D] Bezier", "Capture #1", "_under"}) {
    Key child;
    ASSERT_EQ(CreateKey(parent, name, child), kSuccess) << name;
  }
  // Upper-cased comparison: '[' and '_' sort after the letters.
  EXPECT_EQ(Subkeys(parent),
            (std::vector<std::string>{"Alpha", "beta", "Capture #1", "zeta", "[D] Bezier", "_under"}));
  std::string name;
  EXPECT_EQ(EnumKey(parent, 6, name), kErrorNoMoreItems);
}

TEST_F(KeyTest, CaseIsIgnoredForLettersBeyondAscii) {
  Key made;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "\xC3\x84rger\\\xCE\xA9mega\\\xD0\x96", made), kSuccess);  // Ärger\Ωmega\Ж
  Key opened;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "\xC3\xA4RGER\\\xCF\x89MEGA\\\xD0\xB6", opened), kSuccess);  // äRGER\ωMEGA\ж
  EXPECT_EQ(opened.id, made.id);
  Key same;
  bool created = true;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "\xC3\xA4rger", same, &created), kSuccess);
  EXPECT_FALSE(created);
  uint32_t v = 1;
  ASSERT_EQ(SetValue(made, "Gr\xC3\xBCn", kRegDword, &v, 4), kSuccess);      // Grün
  v = 2;
  ASSERT_EQ(SetValue(made, "GR\xC3\x9CN", kRegDword, &v, 4), kSuccess);      // GRÜN: the same value
  std::string name;
  ASSERT_EQ(EnumValue(made, 0, name, nullptr, nullptr), kSuccess);
  EXPECT_EQ(name, "Gr\xC3\xBCn");
  EXPECT_EQ(EnumValue(made, 1, name, nullptr, nullptr), kErrorNoMoreItems);
  uint32_t size = 4;
  ASSERT_EQ(QueryValue(made, "gr\xC3\xBCn", nullptr, &v, &size), kSuccess);
  EXPECT_EQ(v, 2u);
  // Different letters stay different: "ä" is not "a".
  Key other;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Arger", other, &created), kSuccess);
  EXPECT_TRUE(created);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  EXPECT_EQ(Subkeys(root), (std::vector<std::string>{"Arger", "\xC3\x84rger"}));
}

TEST_F(KeyTest, AnOddByteInANameIsKeptAsItIs) {
  Key made;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "caf\xE9", made), kSuccess);  // Latin-1, not UTF-8
  Key opened;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "CAF\xE9", opened), kSuccess);
  EXPECT_EQ(opened.id, made.id);
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "CAF\xC9", opened), kErrorFileNotFound);
}

// A store written when only ASCII letters were folded.
void PlantOldStore(const char* rows) {
  CloseStore();
  std::filesystem::create_directories(std::filesystem::path(StorePath()).parent_path());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StorePath().c_str(), &db), SQLITE_OK);
  const std::string sql =
      std::string(
          "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER REFERENCES keys(id),"
          " hive INTEGER NOT NULL, name TEXT NOT NULL, fold TEXT NOT NULL);"
          "CREATE UNIQUE INDEX keys_by_name ON keys(parent, fold);"
          "CREATE TABLE vals(key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE, name TEXT NOT NULL,"
          " fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL);"
          "CREATE UNIQUE INDEX vals_by_name ON vals(key, fold);"
          "INSERT INTO keys VALUES (1, NULL, 0, '', ''), (2, NULL, 1, '', ''), (3, NULL, 2, '', '');") +
      rows;
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(KeyTest, AStoreFromBeforeUnicodeFoldingIsRefoldedAndLosesNothing) {
  PlantOldStore(
      "INSERT INTO keys VALUES (4, 1, 0, '\xC3\xBC" "ber', '\xC3\xBC" "BER');"    // über
      "INSERT INTO keys VALUES (5, 1, 0, '\xC3\x84rger', '\xC3\x84RGER');"        // Ärger
      "INSERT INTO keys VALUES (6, 1, 0, '\xC3\xA4rger', '\xC3\xA4RGER');"        // ärger, once a key of its own
      "INSERT INTO vals VALUES (4, 'Gr\xC3\xBCn', 'GR\xC3\xBCN', 4, x'07000000');");
  Key key;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "\xC3\x9C" "BER", key), kSuccess);
  EXPECT_EQ(key.id, 4);
  uint32_t v = 0, size = 4;
  ASSERT_EQ(QueryValue(key, "GR\xC3\x9CN", nullptr, &v, &size), kSuccess);
  EXPECT_EQ(v, 7u);
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "\xC3\xA4RGER", key), kSuccess);
  EXPECT_EQ(key.id, 5);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  EXPECT_EQ(Subkeys(root).size(), 3u);
}

TEST_F(KeyTest, KeyWithSubkeysCannotBeDeleted) {
  Key top;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Display\\Modules\\Bezier", top), kSuccess);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  EXPECT_EQ(DeleteKey(root, "Display"), kErrorAccessDenied);
  EXPECT_EQ(DeleteKey(root, "Display\\Modules"), kErrorAccessDenied);
  EXPECT_EQ(DeleteKey(root, "display\\modules\\BEZIER"), kSuccess);
  EXPECT_EQ(DeleteKey(root, "Display\\Modules"), kSuccess);
  EXPECT_EQ(DeleteKey(root, "Display"), kSuccess);
  Key gone;
  EXPECT_EQ(OpenKey(Hive::CurrentUser, "Display", gone), kErrorFileNotFound);
  EXPECT_EQ(DeleteKey(root, "Display"), kErrorFileNotFound);
}

TEST_F(KeyTest, DeletingWithAnEmptyNameIsABadKey) {
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  EXPECT_EQ(DeleteKey(root, ""), kErrorBadKey);
  EXPECT_EQ(DeleteKey(root, "\\"), kErrorBadKey);
}

TEST_F(KeyTest, DeletingAKeyRemovesItsValues) {
  Key key;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Gone", key), kSuccess);
  ASSERT_EQ(SetValue(key, "x", kRegSz, "1", 2), kSuccess);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteKey(root, "Gone"), kSuccess);
  Key fresh;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Gone", fresh), kSuccess);
  uint32_t size = 0;
  EXPECT_EQ(QueryValue(fresh, "x", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(KeyTest, HandlesToDeletedKeysReportAnError) {
  Key key;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Stale", key), kSuccess);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteKey(root, "Stale"), kSuccess);
  // A key of the same name made later is a different key.
  Key reborn;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Stale", reborn), kSuccess);
  EXPECT_NE(reborn.id, key.id);

  uint32_t value = 7, size = 4;
  std::string name;
  Key child;
  EXPECT_EQ(SetValue(key, "v", kRegDword, &value, 4), kErrorKeyDeleted);
  EXPECT_EQ(QueryValue(key, "v", nullptr, &value, &size), kErrorKeyDeleted);
  EXPECT_EQ(DeleteValue(key, "v"), kErrorKeyDeleted);
  EXPECT_EQ(EnumKey(key, 0, name), kErrorKeyDeleted);
  EXPECT_EQ(EnumValue(key, 0, name, nullptr, nullptr), kErrorKeyDeleted);
  EXPECT_EQ(OpenKey(key, "", child), kErrorKeyDeleted);
  EXPECT_EQ(OpenKey(key, "sub", child), kErrorKeyDeleted);
  EXPECT_EQ(CreateKey(key, "sub", child), kErrorKeyDeleted);
  EXPECT_EQ(DeleteKey(key, "sub"), kErrorKeyDeleted);
}

TEST_F(KeyTest, UnopenedHandlesAreRefused) {
  Key none;
  uint32_t size = 4, value = 0;
  std::string name;
  EXPECT_EQ(QueryValue(none, "v", nullptr, &value, &size), kErrorInvalidHandle);
  EXPECT_EQ(SetValue(none, "v", kRegDword, &value, 4), kErrorInvalidHandle);
  EXPECT_EQ(EnumKey(none, 0, name), kErrorInvalidHandle);
  EXPECT_EQ(DeleteKey(none, "x"), kErrorInvalidHandle);
}

TEST_F(KeyTest, TheStoreReopensAfterClosing) {
  Key key;
  ASSERT_EQ(CreateKey(Hive::LocalMachine, "SOFTWARE\\Kept", key), kSuccess);
  CloseStore();
  Key again;
  ASSERT_EQ(OpenKey(Hive::LocalMachine, "software\\kept", again), kSuccess);
  EXPECT_EQ(again.id, key.id);
}

TEST(KeyPathTest, ParsesShortAndLongHiveNames) {
  Hive hive = Hive::ClassesRoot;
  std::string path;
  ASSERT_TRUE(ParseKeyPath("HKCU\\Software\\Fluxo", hive, path));
  EXPECT_EQ(hive, Hive::CurrentUser);
  EXPECT_EQ(path, "Software\\Fluxo");
  ASSERT_TRUE(ParseKeyPath("hkey_local_machine\\SOFTWARE", hive, path));
  EXPECT_EQ(hive, Hive::LocalMachine);
  EXPECT_EQ(path, "SOFTWARE");
  ASSERT_TRUE(ParseKeyPath("HKCR", hive, path));
  EXPECT_EQ(hive, Hive::ClassesRoot);
  EXPECT_EQ(path, "");
  ASSERT_TRUE(ParseKeyPath("HKEY_CLASSES_ROOT\\.flx", hive, path));
  EXPECT_EQ(path, ".flx");
}

TEST(KeyPathTest, RejectsUnknownHives) {
  Hive hive;
  std::string path;
  EXPECT_FALSE(ParseKeyPath("HKU\\Software", hive, path));
  EXPECT_FALSE(ParseKeyPath("Software\\Fluxo", hive, path));
  EXPECT_FALSE(ParseKeyPath("", hive, path));
  EXPECT_FALSE(ParseKeyPath("HKCUX\\a", hive, path));
}

TEST(KeyPathTest, NamesHivesInFull) {
  EXPECT_STREQ(HiveName(Hive::CurrentUser), "HKEY_CURRENT_USER");
  EXPECT_STREQ(HiveName(Hive::LocalMachine), "HKEY_LOCAL_MACHINE");
  EXPECT_STREQ(HiveName(Hive::ClassesRoot), "HKEY_CLASSES_ROOT");
}

}  // namespace
}  // namespace fluxo::reg

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

namespace fluxo::reg {
namespace {

using LimitsTest = test::FreshStore;

// "a\a\...\a", `levels` names deep.
std::string DeepPath(int levels, const std::string& name = "a") {
  std::string path = name;
  for (int i = 1; i < levels; ++i) path += "\\" + name;
  return path;
}

std::string Repeat(const std::string& unit, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += unit;
  return out;
}

bool HasAnyKey(Hive hive) {
  Key root;
  std::string name;
  return OpenKey(hive, "", root) == kSuccess && EnumKey(root, 0, name) == kSuccess;
}

// A chain of keys below HKCU\Legacy as an older version could leave it,
// written straight into the database past every limit.
void PlantChain(int levels) {
  Key top;
  ASSERT_EQ(CreateKey(Hive::CurrentUser, "Legacy", top), kSuccess);
  CloseStore();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StorePath().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "INSERT INTO keys(parent, hive, name, fold) VALUES(?1, 0, 'k', 'K') RETURNING id", -1,
                               &insert, nullptr),
            SQLITE_OK);
  sqlite3_int64 parent = top.id;
  for (int i = 0; i < levels; ++i) {
    sqlite3_bind_int64(insert, 1, parent);
    ASSERT_EQ(sqlite3_step(insert), SQLITE_ROW);
    parent = sqlite3_column_int64(insert, 0);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  ASSERT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(LimitsTest, KeyPathsStopAt512Levels) {
  Key key;
  EXPECT_EQ(CreateKey(Hive::CurrentUser, DeepPath(513), key), kErrorInvalidParameter);
  EXPECT_FALSE(HasAnyKey(Hive::CurrentUser)) << "a refused path leaves nothing behind";
  ASSERT_EQ(CreateKey(Hive::CurrentUser, DeepPath(512), key), kSuccess);
  Key child;
  EXPECT_EQ(CreateKey(key, "one more", child), kErrorInvalidParameter);
  Key middle;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, DeepPath(500), middle), kSuccess);
  EXPECT_EQ(CreateKey(middle, DeepPath(13, "b"), child), kErrorInvalidParameter);
  EXPECT_EQ(OpenKey(middle, "b", child), kErrorFileNotFound);
  EXPECT_EQ(CreateKey(middle, DeepPath(12, "b"), child), kSuccess);
}

TEST_F(LimitsTest, NameLimitsCountCharactersNotBytes) {
  Key key;
  const std::string umlauts255 = Repeat("\xC3\xA4", 255);  // 510 bytes
  ASSERT_EQ(CreateKey(Hive::CurrentUser, umlauts255, key), kSuccess);
  Key over;
  EXPECT_EQ(CreateKey(Hive::CurrentUser, umlauts255 + "x", over), kErrorInvalidParameter);
  const std::string valueName = Repeat("\xE2\x82\xAC", 16383);  // euro signs, 49149 bytes
  uint32_t v = 1;
  EXPECT_EQ(SetValue(key, valueName, kRegDword, &v, 4), kSuccess);
  EXPECT_EQ(SetValue(key, valueName + "x", kRegDword, &v, 4), kErrorInvalidParameter);
  uint32_t size = 4;
  EXPECT_EQ(QueryValue(key, valueName, nullptr, &v, &size), kSuccess);
}

TEST_F(LimitsTest, ImportRefusesTooDeepPathsAndChangesNothing) {
  std::string error;
  const std::string file = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Kept]\n\n[HKEY_CURRENT_USER\\" +
                           DeepPath(30000) + "]\n\"v\"=dword:00000001\n";
  EXPECT_FALSE(ImportText(file, error));
  EXPECT_EQ(error, "line 5: key path deeper than 512 levels");
  EXPECT_FALSE(HasAnyKey(Hive::CurrentUser));
  EXPECT_FALSE(ImportText("REGEDIT4\n[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n", error));
  EXPECT_EQ(error, "line 2: key name longer than 255 characters");
  EXPECT_FALSE(ImportText("REGEDIT4\n[HKEY_CURRENT_USER\\k]\n\"" + std::string(16384, 'n') + "\"=\"x\"\n", error));
  EXPECT_EQ(error, "line 3: value name longer than 16383 characters");
  EXPECT_FALSE(HasAnyKey(Hive::CurrentUser));
}

TEST_F(LimitsTest, ATreeDeeperThanTheLimitCanStillBeDeleted) {
  PlantChain(60000);
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteTree(root, "Legacy"), kSuccess);
  EXPECT_FALSE(HasAnyKey(Hive::CurrentUser));
}

TEST_F(LimitsTest, ExportRefusesATreeDeeperThanTheLimitInsteadOfCrashing) {
  PlantChain(60000);
  std::string text = "untouched";
  EXPECT_EQ(ExportKey(Hive::CurrentUser, "Legacy", text), kErrorBadKey);
  EXPECT_EQ(text, "untouched");
  // Exactly at the limit it still exports.
  Key root;
  ASSERT_EQ(OpenKey(Hive::CurrentUser, "", root), kSuccess);
  ASSERT_EQ(DeleteTree(root, "Legacy"), kSuccess);
  PlantChain(511);
  EXPECT_EQ(ExportKey(Hive::CurrentUser, "Legacy", text), kSuccess);
}

}  // namespace
}  // namespace fluxo::reg

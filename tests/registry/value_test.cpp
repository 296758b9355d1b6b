#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

namespace fluxo::reg {
namespace {

class ValueTest : public test::FreshStore {
 protected:
  void SetUp() override {
    test::FreshStore::SetUp();
    ASSERT_EQ(CreateKey(Hive::CurrentUser, "Control Panel\\Screen Saver.Fluxo", key_), kSuccess);
  }

  std::vector<std::string> ValueNames() const {
    std::vector<std::string> names;
    std::string name;
    for (uint32_t i = 0; EnumValue(key_, i, name, nullptr, nullptr) == kSuccess; ++i) names.push_back(name);
    return names;
  }

  Key key_;
};

TEST_F(ValueTest, TextsKeepTheirTerminatingZero) {
  ASSERT_EQ(SetValue(key_, "Active", kRegSz, "Scratch", 8), kSuccess);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(QueryValue(key_, "Active", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 8u);
  char text[16];
  std::memset(text, 'x', sizeof text);
  size = sizeof text;
  ASSERT_EQ(QueryValue(key_, "Active", &type, text, &size), kSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_STREQ(text, "Scratch");
}

TEST_F(ValueTest, ATextWithoutTerminatorGetsOne) {
  ASSERT_EQ(SetValue(key_, "Slogan", kRegSz, "Hi", 2), kSuccess);
  char text[8] = "zzzzzzz";
  uint32_t size = sizeof text;
  ASSERT_EQ(QueryValue(key_, "Slogan", nullptr, text, &size), kSuccess);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(text, "Hi");
  ASSERT_EQ(SetValue(key_, "Empty", kRegSz, nullptr, 0), kSuccess);
  size = sizeof text;
  ASSERT_EQ(QueryValue(key_, "Empty", nullptr, text, &size), kSuccess);
  EXPECT_EQ(size, 1u);
  EXPECT_EQ(text[0], '\0');
}

TEST_F(ValueTest, BinaryAndDwordValuesKeepTypeAndSize) {
  const uint8_t mode[156] = {1, 2, 3, 0, 0, 255};
  ASSERT_EQ(SetValue(key_, "DisplayMode", kRegBinary, mode, sizeof mode), kSuccess);
  const uint32_t build = 990;
  ASSERT_EQ(SetValue(key_, "Build", kRegDword, &build, 4), kSuccess);
  ASSERT_EQ(SetValue(key_, "None", kRegBinary, nullptr, 0), kSuccess);

  uint8_t back[200] = {};
  uint32_t type = 0, size = sizeof back;
  ASSERT_EQ(QueryValue(key_, "DisplayMode", &type, back, &size), kSuccess);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(size, 156u);
  EXPECT_EQ(std::memcmp(back, mode, sizeof mode), 0);

  uint32_t number = 0;
  size = 4;
  ASSERT_EQ(QueryValue(key_, "Build", &type, &number, &size), kSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(number, 990u);

  size = 4;
  ASSERT_EQ(QueryValue(key_, "None", &type, back, &size), kSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(ValueTest, DwordsMustBeFourBytes) {
  const uint8_t bytes[8] = {};
  EXPECT_EQ(SetValue(key_, "Odd", kRegDword, bytes, 2), kErrorInvalidParameter);
  EXPECT_EQ(SetValue(key_, "Odd", kRegDword, bytes, 8), kErrorInvalidParameter);
  uint32_t size = 0;
  EXPECT_EQ(QueryValue(key_, "Odd", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(ValueTest, ASmallBufferGivesMoreDataAndTheNeededSize) {
  ASSERT_EQ(SetValue(key_, "FluxoDir", kRegSz, "/opt/fluxo", 11), kSuccess);
  char small[4] = {'a', 'b', 'c', 'd'};
  uint32_t type = 0, size = sizeof small;
  EXPECT_EQ(QueryValue(key_, "FluxoDir", &type, small, &size), kErrorMoreData);
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(std::memcmp(small, "abcd", 4), 0) << "nothing is written on a short buffer";
  char exact[11];
  size = sizeof exact;
  EXPECT_EQ(QueryValue(key_, "FluxoDir", nullptr, exact, &size), kSuccess);
  EXPECT_STREQ(exact, "/opt/fluxo");
}

TEST_F(ValueTest, MissingValuesAreNotFoundAndBuffersNeedASize) {
  uint32_t number = 5, size = 4;
  EXPECT_EQ(QueryValue(key_, "Speed", nullptr, &number, &size), kErrorFileNotFound);
  EXPECT_EQ(number, 5u);
  EXPECT_EQ(QueryValue(key_, "Speed", nullptr, &number, nullptr), kErrorInvalidParameter);
  EXPECT_EQ(DeleteValue(key_, "Speed"), kErrorFileNotFound);
  EXPECT_EQ(SetValue(key_, "Speed", kRegBinary, nullptr, 4), kErrorInvalidParameter);
}

TEST_F(ValueTest, ValueNamesAreCaseInsensitiveAndKeepFirstSpelling) {
  uint32_t one = 1, two = 2;
  ASSERT_EQ(SetValue(key_, "BlankTimeout", kRegBinary, &one, 4), kSuccess);
  ASSERT_EQ(SetValue(key_, "BLANKTIMEOUT", kRegBinary, &two, 4), kSuccess);
  uint32_t back = 0, size = 4;
  ASSERT_EQ(QueryValue(key_, "blanktimeout", nullptr, &back, &size), kSuccess);
  EXPECT_EQ(back, 2u);
  EXPECT_EQ(ValueNames(), std::vector<std::string>{"BlankTimeout"});
  EXPECT_EQ(DeleteValue(key_, "blankTIMEOUT"), kSuccess);
  EXPECT_TRUE(ValueNames().empty());
}

TEST_F(ValueTest, TheEmptyNameIsTheDefaultValue) {
  uint32_t size = 0;
  EXPECT_EQ(QueryValue(key_, "", nullptr, nullptr, &size), kErrorFileNotFound);
  ASSERT_EQ(SetValue(key_, "", kRegSz, "tonewell --play", 16), kSuccess);
  char text[32];
  size = sizeof text;
  ASSERT_EQ(QueryValue(key_, "", nullptr, text, &size), kSuccess);
  EXPECT_STREQ(text, "tonewell --play");
  EXPECT_EQ(ValueNames(), std::vector<std::string>{""});
}

TEST_F(ValueTest, ValuesEnumerateInCreationOrderAndOverwritesKeepTheirPlace) {
  uint32_t v = 0;
  for (const char* name : {"Speed", "Active", "Priority", "Exception"})
    ASSERT_EQ(SetValue(key_, name, kRegBinary, &v, 4), kSuccess);
  v = 9;
  ASSERT_EQ(SetValue(key_, "active", kRegSz, "x", 2), kSuccess);
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Speed", "Active", "Priority", "Exception"}));
  ASSERT_EQ(DeleteValue(key_, "Speed"), kSuccess);
  ASSERT_EQ(SetValue(key_, "Speed", kRegBinary, &v, 4), kSuccess);
  EXPECT_EQ(ValueNames(), (std::vector<std::string>{"Active", "Priority", "Exception", "Speed"}));

  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  ASSERT_EQ(EnumValue(key_, 0, name, &type, &data), kSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, (std::vector<uint8_t>{'x', 0}));
  EXPECT_EQ(EnumValue(key_, 4, name, &type, &data), kErrorNoMoreItems);
}

TEST_F(ValueTest, ValuesBelongToTheirOwnKey) {
  Key other;
  ASSERT_EQ(CreateKey(key_, "Saved", other), kSuccess);
  uint32_t v = 3;
  ASSERT_EQ(SetValue(other, "Speed", kRegBinary, &v, 4), kSuccess);
  uint32_t size = 4;
  EXPECT_EQ(QueryValue(key_, "Speed", nullptr, &v, &size), kErrorFileNotFound);
}

TEST_F(ValueTest, OtherTypeCodesAreKeptAsGiven) {
  const char multi[] = "a\0b\0";
  ASSERT_EQ(SetValue(key_, "List", 7, multi, sizeof multi), kSuccess);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(QueryValue(key_, "List", &type, nullptr, &size), kSuccess);
  EXPECT_EQ(type, 7u);
  EXPECT_EQ(size, sizeof multi);
}

}  // namespace
}  // namespace fluxo::reg

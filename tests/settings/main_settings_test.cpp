#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/fresh_store.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

const std::string kRoot = std::string("Control Panel\\") + kRootName;

class MainSettingsTest : public test::FreshStore {
 protected:
  void SetUp() override {
    test::FreshStore::SetUp();
    ResetMainSettings();
  }
  void TearDown() override {
    if (feed_) CloseSoundFeed(feed_);
    test::FreshStore::TearDown();
  }

  SoundFeedBlock* AttachFeed() {
    feed_ = OpenSoundFeed();
    EXPECT_NE(feed_, nullptr) << SoundFeedError();
    return feed_;
  }

  static reg::Key Root() {
    reg::Key key;
    EXPECT_EQ(reg::CreateKey(reg::Hive::CurrentUser, kRoot, key), reg::kSuccess);
    return key;
  }

  static void SetGrace(const char* text) {
    reg::Key key;
    ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, kWinlogonKey, key), reg::kSuccess);
    ASSERT_EQ(reg::SetValue(key, "ScreenSaverGracePeriod", reg::kRegSz, text, static_cast<uint32_t>(std::strlen(text) + 1)),
              reg::kSuccess);
  }

  static uint32_t GraceAfterLoad(const char* text) {
    SetGrace(text);
    LoadMainSettings();
    return Main().graceSeconds;
  }

  SoundFeedBlock* feed_ = nullptr;
};

TEST_F(MainSettingsTest, AFreshProfileKeepsTheBuiltInDefaults) {
  LoadMainSettings();
  const MainSettings& m = Main();
  EXPECT_EQ(m.priority, 64u);
  EXPECT_EQ(m.preview, 1u);
  EXPECT_EQ(m.blankTimeout, 241u);
  EXPECT_EQ(m.clearFirst, 1u);
  EXPECT_EQ(m.homingRate, 1000u);
  EXPECT_EQ(m.speed.load(), 0u);
  EXPECT_EQ(m.showInfo, 0u);
  EXPECT_EQ(m.showName, 0u);
  EXPECT_EQ(m.autoRun, 0u);
  EXPECT_EQ(m.graceSeconds, 6u);
  EXPECT_FALSE(RootExists(kRootName)) << "loading creates nothing";
}

TEST_F(MainSettingsTest, AFreshProfileLeavesTheFeedOptionsAlone) {
  SoundFeedBlock* feed = AttachFeed();
  ASSERT_NE(feed, nullptr);
  feed->SetU32(feed::kTurboMode, 0);
  feed->SetU32(feed::kAutoGain, 0);
  LoadMainSettings();
  EXPECT_EQ(feed->U32(feed::kTurboMode), 0u);
  EXPECT_EQ(feed->U32(feed::kAutoGain), 0u);
}

TEST_F(MainSettingsTest, AnExistingRootResetsPageOptionsButKeepsMissingOnes) {
  SoundFeedBlock* feed = AttachFeed();
  ASSERT_NE(feed, nullptr);
  for (size_t offset : {feed::kTurboMode, feed::kPaletteSync, feed::kModuleSync, feed::kAutoGain}) feed->SetU32(offset, 0);
  MainSettings& m = Main();
  m.priority = 128;
  m.showInfo = 1;
  m.homingRate = 5;
  m.autoRun = 1;
  reg::Key root = Root();
  // A value longer than four bytes is not a number: the variable keeps its value.
  const uint8_t wide[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(reg::SetValue(root, "Preview", reg::kRegBinary, wide, sizeof wide), reg::kSuccess);
  m.preview = 0;
  LoadMainSettings();
  EXPECT_EQ(m.priority, 128u);
  EXPECT_EQ(m.preview, 0u);
  EXPECT_EQ(m.showInfo, 0u);
  EXPECT_EQ(m.homingRate, 1000u);
  EXPECT_EQ(m.autoRun, 0u);
  for (size_t offset : {feed::kTurboMode, feed::kPaletteSync, feed::kModuleSync, feed::kAutoGain})
    EXPECT_EQ(feed->U32(offset), 1u) << offset;
}

TEST_F(MainSettingsTest, SaveThenLoadRestoresEverySetting) {
  SoundFeedBlock* feed = AttachFeed();
  ASSERT_NE(feed, nullptr);
  MainSettings& m = Main();
  m.priority = 128;
  m.showInfo = 1;
  m.showName = 30;
  m.preview = 0;
  m.autoRun = 1;
  m.blankTimeout = 12;
  m.homingRate = 250;
  m.graceSeconds = 15;
  m.speed.store(7);
  feed->SetU32(feed::kTurboMode, 0);
  feed->SetU32(feed::kAutoGain, 0);
  ASSERT_EQ(SaveMainSettings(), 1);

  ResetMainSettings();
  feed->SetU32(feed::kTurboMode, 1);
  feed->SetU32(feed::kAutoGain, 1);
  LoadMainSettings();
  EXPECT_EQ(m.priority, 128u);
  EXPECT_EQ(m.showInfo, 1u);
  EXPECT_EQ(m.showName, 30u);
  EXPECT_EQ(m.preview, 0u);
  EXPECT_EQ(m.autoRun, 1u);
  EXPECT_EQ(m.blankTimeout, 12u);
  EXPECT_EQ(m.homingRate, 250u);
  EXPECT_EQ(m.graceSeconds, 15u);
  EXPECT_EQ(m.speed.load(), 7u);
  EXPECT_EQ(feed->U32(feed::kTurboMode), 0u);
  EXPECT_EQ(feed->U32(feed::kAutoGain), 0u);
}

TEST_F(MainSettingsTest, SavedValuesHaveTheirTypesAndOrder) {
  ASSERT_NE(AttachFeed(), nullptr);
  Main().graceSeconds = 42;
  ASSERT_EQ(SaveMainSettings(), 1);
  reg::Key root = Root();
  const char* expected[] = {"SlowCPU", "Priority", "ShowInfo", "ShowName",   "Preview",
                            "AutoRun", "AutoGain", "BlankTimeout", "HomingRate", "Speed"};
  for (uint32_t i = 0; i < std::size(expected); ++i) {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(reg::EnumValue(root, i, name, &type, &data), reg::kSuccess);
    EXPECT_EQ(name, expected[i]);
    EXPECT_EQ(type, reg::kRegBinary) << name;
    EXPECT_EQ(data.size(), 4u) << name;
  }
  reg::Key winlogon;
  ASSERT_EQ(reg::OpenKey(reg::Hive::LocalMachine, kWinlogonKey, winlogon), reg::kSuccess);
  char text[8];
  uint32_t type = 0, size = sizeof text;
  ASSERT_EQ(reg::QueryValue(winlogon, "ScreenSaverGracePeriod", &type, text, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegSz);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(text, "42");
}

TEST_F(MainSettingsTest, WithoutAFeedTheFeedOptionsAreNeitherSavedNorLoaded) {
  ASSERT_EQ(SaveMainSettings(), 1);
  uint32_t v = 0;
  EXPECT_EQ(ReadSetting("SlowCPU", kRootName, reg::kRegBinary, &v, 4), 0);
  EXPECT_EQ(ReadSetting("AutoGain", kRootName, reg::kRegBinary, &v, 4), 0);
  EXPECT_EQ(ReadSetting("HomingRate", kRootName, reg::kRegBinary, &v, 4), 1);
  EXPECT_EQ(v, 1000u);
  LoadMainSettings();
  EXPECT_EQ(Main().homingRate, 1000u);
}

TEST_F(MainSettingsTest, GracePeriodIsTheLeadingDecimalNumber) {
  EXPECT_EQ(GraceAfterLoad("15"), 15u);
  EXPECT_EQ(GraceAfterLoad("abc"), 0u);
  EXPECT_EQ(GraceAfterLoad(" 42 seconds"), 42u);
  EXPECT_EQ(GraceAfterLoad(""), 0u);
  EXPECT_EQ(GraceAfterLoad("-5"), 0u);
  // Capped at the page's maximum rather than wrapping.
  EXPECT_EQ(GraceAfterLoad("99999999999999"), 900u);
}

TEST_F(MainSettingsTest, GracePeriodDefaultsToSixWhenNotStored) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(reg::Hive::LocalMachine, kWinlogonKey, key), reg::kSuccess);
  Main().graceSeconds = 99;
  LoadMainSettings();
  EXPECT_EQ(Main().graceSeconds, 6u);
  // Longer than the 32 bytes read: not read at all.
  EXPECT_EQ(GraceAfterLoad("0000000000000000000000000000000000000012"), 6u);
}

TEST_F(MainSettingsTest, SpeedReadsAsZeroWhenMissing) {
  Root();
  Main().speed.store(9);
  LoadMainSettings();
  EXPECT_EQ(Main().speed.load(), 0u);
}

}  // namespace
}  // namespace fluxo

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/mode_description.h"
#include "config/page_factories.h"
#include "engine/video_mode.h"
#include "platform/system/screen_modes.h"
#include "settings/display_fixture.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;
using Bytes = std::vector<uint8_t>;

// A screen with a fixed list of modes, or none that can be switched.
class FakeScreen : public ScreenModeSwitcher {
 public:
  FakeScreen(bool available, std::vector<ScreenMode> modes) : available_(available), modes_(std::move(modes)) {}
  bool Open() override { return available_; }
  std::vector<ScreenMode> Modes() override { return modes_; }
  bool SetMode(int, int) override { return false; }
  bool RestoreMode() override { return true; }

 private:
  bool available_;
  std::vector<ScreenMode> modes_;
};

std::string RootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

// "DisplayMode" exactly as stored: nothing when missing.
std::optional<Bytes> StoredMode() {
  reg::Key root;
  if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(), root) != reg::kSuccess) return std::nullopt;
  Bytes bytes(512);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  uint32_t type = 0;
  if (reg::QueryValue(root, "DisplayMode", &type, bytes.data(), &size) != reg::kSuccess) return std::nullopt;
  EXPECT_EQ(type, reg::kRegBinary);
  bytes.resize(size);
  return bytes;
}

uint32_t Field(const Bytes& record, size_t offset) {
  return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 | uint32_t{record[offset + 3]} << 24;
}

class VideoPageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    SaveMainSettings();  // the settings key exists, as after any configuration run
    session.SetChildProgram("/bin/sh", {"-c", "sleep 0.2", "saver"});
  }
  void TearDown() override {
    page.reset();
    owner.reset();
    UseScreenModeSwitcher(nullptr);
    DisplayTest::TearDown();
  }
  void Open(bool available = true) {
    UseScreenModeSwitcher([available] {
      return std::make_unique<FakeScreen>(
          available, std::vector<ScreenMode>{{640, 480, 8, 60}, {1024, 768, 16, 0}, {1920, 1080, 24, 75}});
    });
    page.reset(config::CreateVideoPage(session));
    page->SetActive();
  }
  template <typename T>
  T* Find(const char* id) {
    return FindWidget<T>(page.get(), QString(id));
  }
  void Choose(int row) { Find<QListWidget>("id1043")->setCurrentRow(row); }
  void Click(const char* id) { QTest::mouseClick(Find<QPushButton>(id), Qt::LeftButton); }

  // Goes before the store does, with any test run it started.
  std::unique_ptr<ConfigSession> owner = std::make_unique<ConfigSession>();
  ConfigSession& session = *owner;
  std::unique_ptr<ConfigPage> page;
};

TEST(ModeDescription, CountsAreRightAlignedByDepthAndTheRefreshIsNamed) {
  using config::DescribeVideoMode;
  EXPECT_EQ(DescribeVideoMode({8, 640, 480, 60}), "     256 colors at 640x480 60Hz");
  EXPECT_EQ(DescribeVideoMode({15, 800, 600, 72}), "    32768 colors at 800x600 72Hz");
  EXPECT_EQ(DescribeVideoMode({16, 1024, 768, 0}), "   65536 colors at 1024x768 (default refresh)");
  EXPECT_EQ(DescribeVideoMode({16, 1024, 768, 1}), "   65536 colors at 1024x768 (default refresh)");
  EXPECT_EQ(DescribeVideoMode({24, 1920, 1080, 75}), "  16777216 colors at 1920x1080 75Hz");
  EXPECT_EQ(DescribeVideoMode({4, 640, 480, 2}), "16 colors at 640x480 2Hz");
}

TEST(ModeDescription, ThirtyTwoBitModesCountTheirColourBitsOnly) {
  EXPECT_EQ(config::DescribeVideoMode({32, 2560, 1440, 144}), " 16777216 colors at 2560x1440 144Hz");
  EXPECT_EQ(config::ColourCount(64), config::ColourCount(24)) << "no shift past the word";
  EXPECT_EQ(config::DescribeScreen(config::ColourCount(30), 3840, 2160), "1073741824 colors at 3840x2160");
}

TEST_F(VideoPageTest, ListsTheScreensModesAndShowsDefaultWithoutAStoredOne) {
  Open();
  auto* list = Find<QListWidget>("id1043");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "     256 colors at 640x480 60Hz");
  EXPECT_EQ(list->item(1)->text(), "   65536 colors at 1024x768 (default refresh)");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(Find<QLineEdit>("id1040")->text(), "Default");
  EXPECT_FALSE(Find<QLineEdit>("id1039")->text().isEmpty());
  EXPECT_TRUE(Find<QLabel>("id1321")->text().isEmpty());
}

TEST_F(VideoPageTest, SetStoresTheWholeRecordAndClearRemovesIt) {
  Open();
  Choose(1);
  Click("id1106");
  const std::optional<Bytes> stored = StoredMode();
  ASSERT_TRUE(stored);
  ASSERT_EQ(stored->size(), kDisplayModeSize);
  EXPECT_EQ((*stored)[36] | (*stored)[37] << 8, 156) << "the record's own size";
  EXPECT_EQ((*stored)[38] | (*stored)[39] << 8, 0) << "no driver data";
  EXPECT_EQ(Field(*stored, kModeBitsPerPixelOffset), 16u);
  EXPECT_EQ(Field(*stored, kModeWidthOffset), 1024u);
  EXPECT_EQ(Field(*stored, kModeHeightOffset), 768u);
  EXPECT_EQ(Field(*stored, kModeRefreshOffset), 0u);
  size_t otherBytes = 0;
  for (size_t i = 0; i < stored->size(); ++i)
    if ((i < 36 || i >= 40) && (i < kModeBitsPerPixelOffset || i >= kModeHeightOffset + 4) &&
        (i < kModeRefreshOffset || i >= kModeRefreshOffset + 4))
      otherBytes += (*stored)[i] != 0;
  EXPECT_EQ(otherBytes, 0u);
  EXPECT_EQ(Find<QLineEdit>("id1040")->text(), "   65536 colors at 1024x768 (default refresh)");

  Click("id1107");
  EXPECT_FALSE(StoredMode());
  EXPECT_EQ(Find<QLineEdit>("id1040")->text(), "Default");
}

TEST_F(VideoPageTest, AStoredModeIsShownWhenThePageOpens) {
  const DisplayModeRecord record = EncodeDisplayMode({24, 1920, 1080, 75});
  WriteSetting("DisplayMode", SettingsKeyName(), reg::kRegBinary, record.data(), kDisplayModeSize);
  Open();
  EXPECT_EQ(Find<QLineEdit>("id1040")->text(), "  16777216 colors at 1920x1080 75Hz");
}

TEST_F(VideoPageTest, ATestRunsInTheChosenModeAndTheStoredOneComesBack) {
  Open();
  Choose(0);
  Click("id1106");
  const std::optional<Bytes> before = StoredMode();
  QSignalSpy ended(&session, &ConfigSession::TestEnded);
  Choose(2);
  Click("id2");
  ASSERT_TRUE(session.TestPending());
  ASSERT_TRUE(StoredMode());
  EXPECT_EQ(Field(*StoredMode(), kModeWidthOffset), 1920u) << "the test run switches to the chosen mode";

  ASSERT_TRUE(ended.wait(5000));
  EXPECT_EQ(StoredMode(), before);
}

TEST_F(VideoPageTest, AfterATestWithoutAStoredModeThereIsNoneAgain) {
  Open();
  QSignalSpy ended(&session, &ConfigSession::TestEnded);
  Choose(1);
  Click("id2");
  EXPECT_TRUE(StoredMode());
  ASSERT_TRUE(ended.wait(5000));
  EXPECT_FALSE(StoredMode());
}

TEST_F(VideoPageTest, OtherPagesTestsLeaveTheStoredModeAlone) {
  Open();
  Choose(1);
  Click("id1106");
  const std::optional<Bytes> chosen = StoredMode();
  QSignalSpy ended(&session, &ConfigSession::TestEnded);
  session.TestSettings();
  ASSERT_TRUE(ended.wait(5000));
  EXPECT_EQ(StoredMode(), chosen);
}

TEST_F(VideoPageTest, ClosingTheDialogDuringAVideoTestGivesTheModeBack) {
  session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  Open();
  Choose(2);
  Click("id2");
  ASSERT_TRUE(StoredMode());
  page.reset();
  EXPECT_FALSE(StoredMode());
}

TEST_F(VideoPageTest, WithoutModeSwitchingOnlyTheCurrentModeAndANoticeShow) {
  Open(false);
  EXPECT_EQ(Find<QListWidget>("id1043")->count(), 0);
  for (const char* id : {"id1106", "id1107", "id2"}) EXPECT_FALSE(Find<QPushButton>(id)->isEnabled()) << id;
  EXPECT_TRUE(Find<QLabel>("id1321")->text().contains("RandR"));
  EXPECT_FALSE(Find<QLineEdit>("id1039")->text().isEmpty());
}

}  // namespace
}  // namespace fluxo::test

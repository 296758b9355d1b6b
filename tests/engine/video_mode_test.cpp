// Video modes: which runs switch to the stored "DisplayMode", that the mode
// before the switch comes back at teardown and after a fatal fault, and the
// 156-byte record the Video page gets for each mode.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/fake_window.h"
#include "engine/video_mode.h"
#include "platform/registry/registry.h"
#include "platform/system/saver_state.h"
#include "platform/system/screen_modes.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"

namespace fluxo::test {
namespace {

// What the switchers of one test were asked to do.
struct SwitcherLog {
  bool available = true;        // Open succeeds
  bool acceptsModes = true;     // SetMode succeeds
  std::vector<ScreenMode> modes;
  int made = 0;
  int opened = 0;
  std::vector<std::pair<int, int>> switchedTo;
  int restored = 0;
  int destroyed = 0;
  bool announceRestore = false;  // tell the parent of a death test
};
SwitcherLog g_log;

class FakeSwitcher final : public ScreenModeSwitcher {
 public:
  FakeSwitcher() { ++g_log.made; }
  ~FakeSwitcher() override { ++g_log.destroyed; }
  bool Open() override {
    ++g_log.opened;
    return g_log.available;
  }
  std::vector<ScreenMode> Modes() override { return g_log.modes; }
  bool SetMode(int width, int height) override {
    if (!g_log.acceptsModes) return false;
    g_log.switchedTo.emplace_back(width, height);
    return true;
  }
  bool RestoreMode() override {
    ++g_log.restored;
    if (g_log.announceRestore) {
      // Called from a signal handler after a fault: only async-signal-safe calls.
      constexpr char kNote[] = "screen mode restored\n";
      [[maybe_unused]] ssize_t written = write(STDERR_FILENO, kNote, sizeof kNote - 1);
    }
    return true;
  }
};

// The saver's own full-screen window, which may change the video mode.
class ScreenWindow : public FakeWindow {
 public:
  ScreenWindow(int width, int height, int screenWidth, int screenHeight, bool ownsScreen = true)
      : FakeWindow(width, height, screenWidth, screenHeight), ownsScreen_(ownsScreen) {}
  bool OwnsScreen() const override { return ownsScreen_; }
  void PlaceAtOrigin(int width, int height) override { placedAt.emplace_back(width, height); }
  std::vector<std::pair<int, int>> placedAt;

 private:
  bool ownsScreen_;
};

std::string SettingsPath() { return std::string("Control Panel\\") + kRootName; }

void StoreRecord(const DisplayModeRecord& record) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(reg::Hive::CurrentUser, SettingsPath(), key), reg::kSuccess);
  ASSERT_EQ(reg::SetValue(key, "DisplayMode", reg::kRegBinary, record.data(), kDisplayModeSize), reg::kSuccess);
}

void StoreMode(uint32_t width, uint32_t height) { StoreRecord(EncodeDisplayMode({8, width, height, 0})); }

void DeleteStoredMode() {
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, SettingsPath(), key) == reg::kSuccess) reg::DeleteValue(key, "DisplayMode");
}

class VideoModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    ResetMainSettings();
    g_log = {};
    DeleteStoredMode();
    UseScreenModeSwitcher([] { return std::make_unique<FakeSwitcher>(); });
  }
  void TearDown() override {
    UseScreenModeSwitcher(nullptr);
    DeleteStoredMode();
  }

  intptr_t Send(SaverWindow& window, SaverMessage message) { return ScreenSaverProc(&window, message, 0, 0); }
};

TEST_F(VideoModeTest, RecordKeepsItsFieldsAtThePlatformsOffsets) {
  DisplayModeRecord record{};
  const uint8_t bits[] = {8, 0, 0, 0}, width[] = {0x20, 0x03, 0, 0}, height[] = {0x58, 0x02, 0, 0},
                refresh[] = {75, 0, 0, 0};
  std::copy(std::begin(bits), std::end(bits), record.begin() + 104);
  std::copy(std::begin(width), std::end(width), record.begin() + 108);
  std::copy(std::begin(height), std::end(height), record.begin() + 112);
  std::copy(std::begin(refresh), std::end(refresh), record.begin() + 120);
  record[0] = 'D';  // a platform-filled record carries other fields too
  const VideoMode mode = DecodeDisplayMode(record);
  EXPECT_EQ(mode.bitsPerPixel, 8u);
  EXPECT_EQ(mode.width, 800u);
  EXPECT_EQ(mode.height, 600u);
  EXPECT_EQ(mode.refreshHz, 75u);

  record[0] = 0;
  EXPECT_EQ(EncodeDisplayMode(mode), record);
}

TEST_F(VideoModeTest, FullScreenRunSwitchesToTheStoredModeAndRestoresItAtTeardown) {
  StoreMode(800, 600);
  ScreenWindow window(1280, 1024, 1280, 1024);
  ASSERT_EQ(Send(window, SaverMessage::Create), 0);
  EXPECT_EQ(Saver().modeSwitched.load(), 1);
  EXPECT_EQ(g_log.switchedTo, (std::vector<std::pair<int, int>>{{800, 600}}));
  EXPECT_EQ(window.placedAt, (std::vector<std::pair<int, int>>{{800, 600}}));
  EXPECT_EQ(g_log.restored, 0);

  Send(window, SaverMessage::Destroy);
  EXPECT_EQ(g_log.restored, 1);
  EXPECT_EQ(g_log.destroyed, g_log.made) << "the display connection outlived the run";
}

TEST_F(VideoModeTest, RunsThatMustNotSwitchLeaveTheModeAlone) {
  struct Case {
    const char* what;
    bool stored;
    int width, height;
    bool ownsScreen;
  };
  const Case cases[] = {
      {"no stored mode", false, 1280, 1024, true},
      {"preview smaller than the screen", true, 152, 112, true},
      {"window as wide but lower than the screen", true, 1280, 1000, true},
      {"full-size window of another program (embedded, headless)", true, 1280, 1024, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetSaverState();
    g_log = {};
    DeleteStoredMode();
    if (c.stored) StoreMode(800, 600);
    ScreenWindow window(c.width, c.height, 1280, 1024, c.ownsScreen);
    ASSERT_EQ(Send(window, SaverMessage::Create), 0);
    EXPECT_EQ(Saver().modeSwitched.load(), 0);
    EXPECT_EQ(g_log.opened, 0);
    EXPECT_TRUE(window.placedAt.empty());
    Send(window, SaverMessage::Destroy);
    EXPECT_EQ(g_log.restored, 0);
  }
}

TEST_F(VideoModeTest, RecordWithoutASizeSwitchesNothing) {
  for (const VideoMode mode : {VideoMode{8, 0, 600, 0}, VideoMode{8, 800, 0, 0}, VideoMode{8, 0x10000, 600, 0}}) {
    ResetSaverState();
    g_log = {};
    StoreRecord(EncodeDisplayMode(mode));
    ScreenWindow window(1280, 1024, 1280, 1024);
    ASSERT_EQ(Send(window, SaverMessage::Create), 0);
    EXPECT_EQ(Saver().modeSwitched.load(), 0) << mode.width << "x" << mode.height;
    EXPECT_TRUE(g_log.switchedTo.empty());
    EXPECT_TRUE(window.placedAt.empty());
    Send(window, SaverMessage::Destroy);
  }
}

TEST_F(VideoModeTest, UnavailableOrRefusedSwitchKeepsTheWindowFullScreenButCountsAsSwitched) {
  for (const bool available : {false, true}) {
    SCOPED_TRACE(available ? "the screen refuses the mode" : "no mode switching here");
    ResetSaverState();
    g_log = {};
    g_log.available = available;
    g_log.acceptsModes = false;
    StoreMode(640, 480);
    ScreenWindow window(1280, 1024, 1280, 1024);
    ASSERT_EQ(Send(window, SaverMessage::Create), 0);
    EXPECT_EQ(Saver().modeSwitched.load(), 1);
    EXPECT_TRUE(window.placedAt.empty()) << "the window shrank although the screen did not";
    Send(window, SaverMessage::Destroy);
    EXPECT_EQ(g_log.restored, 0) << "restored a mode that was never left";
    EXPECT_EQ(g_log.destroyed, g_log.made);
  }
}

TEST_F(VideoModeTest, ModeComesBackEvenWhenTheStoredModeWasDeletedDuringTheRun) {
  StoreMode(800, 600);
  ScreenWindow window(1280, 1024, 1280, 1024);
  ASSERT_EQ(Send(window, SaverMessage::Create), 0);
  DeleteStoredMode();
  Send(window, SaverMessage::Destroy);
  EXPECT_EQ(g_log.restored, 1);
}

TEST_F(VideoModeTest, EnumerationBuildsOneZeroedRecordPerMode) {
  g_log.modes = {{1280, 1024, 32, 60}, {800, 600, 32, 0}};
  std::vector<DisplayModeRecord> records;
  EnumerateVideoModes([&](const DisplayModeRecord& record) { records.push_back(record); });
  ASSERT_EQ(records.size(), 2u);
  const VideoMode first = DecodeDisplayMode(records[0]);
  EXPECT_EQ(first.width, 1280u);
  EXPECT_EQ(first.height, 1024u);
  EXPECT_EQ(first.bitsPerPixel, 32u);
  EXPECT_EQ(first.refreshHz, 60u);
  EXPECT_EQ(DecodeDisplayMode(records[1]).refreshHz, 0u);
  for (const DisplayModeRecord& record : records) {
    for (uint32_t i = 0; i < kDisplayModeSize; ++i) {
      const bool field = (i >= 104 && i < 116) || (i >= 120 && i < 124);
      if (!field) {
        ASSERT_EQ(record[i], 0) << "byte " << i;
      }
    }
  }

  g_log.available = false;
  UseScreenModeSwitcher([] { return std::make_unique<FakeSwitcher>(); });
  records.clear();
  EnumerateVideoModes([&](const DisplayModeRecord& record) { records.push_back(record); });
  EXPECT_TRUE(records.empty()) << "modes listed without mode switching";
}

// A crash while the screen is switched (a plug-in faulting while it draws)
// must not leave the desktop in the saver's mode.
TEST_F(VideoModeTest, FatalFaultOnAnyThreadRestoresTheMode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  StoreMode(800, 600);
  const auto crashSwitchedRun = [](bool onAnotherThread) {
    g_log.announceRestore = true;
    ScreenWindow window(1280, 1024, 1280, 1024);
    ScreenSaverProc(&window, SaverMessage::Create, 0, 0);
    if (onAnotherThread) {
      std::thread([] { std::abort(); }).join();
    }
    std::abort();
  };
  EXPECT_EXIT(crashSwitchedRun(false), testing::KilledBySignal(SIGABRT), "screen mode restored");
  EXPECT_EXIT(crashSwitchedRun(true), testing::KilledBySignal(SIGABRT), "screen mode restored");
}

}  // namespace
}  // namespace fluxo::test

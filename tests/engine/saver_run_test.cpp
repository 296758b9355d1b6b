// Whole saver runs on the headless window: creation, the render thread, teardown.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "engine/headless_window.h"
#include "engine/module_registry.h"
#include "engine/render_thread.h"
#include "platform/registry/registry.h"
#include "platform/system/saver_state.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

using namespace std::chrono_literals;

std::atomic<int> g_frames{0};
int32_t CountingFrame(ModuleSlot*) {
  g_frames.fetch_add(1);
  return 0;
}
int32_t ThrowingFrame(ModuleSlot*) { throw std::runtime_error("module fault"); }

template <typename Predicate>
bool WaitFor(Predicate predicate, std::chrono::milliseconds limit = 5000ms) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

void StoreSetting(const char* name, uint32_t value) {
  reg::Key key;
  ASSERT_EQ(reg::CreateKey(reg::Hive::CurrentUser, std::string("Control Panel\\") + kRootName, key), reg::kSuccess);
  ASSERT_EQ(reg::SetValue(key, name, reg::kRegBinary, &value, 4), reg::kSuccess);
}

std::string ReadText(const char* name) {
  char buffer[260] = {};
  ReadSetting(name, kRootName, reg::kRegSz, buffer, sizeof buffer);
  return buffer;
}

class SaverRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    ResetMainSettings();
    g_frames = 0;
    Overrides().soloModule = kModuleBezier;
  }
  void TearDown() override { Overrides().soloModule = -1; }
};

TEST_F(SaverRunTest, RunPublishesVersionAndCountsTheSaver) {
  {
    HeadlessWindow window(80, 60, {"fluxo", "/s"});
    ASSERT_TRUE(window.Open());
    SoundFeedBlock* feed = SoundFeed();
    ASSERT_NE(feed, nullptr);
    EXPECT_EQ(feed->U16(feed::kSaverMajor), 3);
    EXPECT_EQ(feed->U16(feed::kSaverMinor), 9);
    EXPECT_EQ(feed->U16(feed::kSaverBuild), 990);
    EXPECT_EQ(feed->I32(feed::kSaverCount), 1);
    EXPECT_EQ(feed->I32(feed::kAttachCount), 1);
    ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 3; }));
    EXPECT_EQ(Saver().fullScreen.load(), 1);
    EXPECT_EQ(feed->I32(feed::kFullScreenCount), 1);
    window.Close();
  }
  EXPECT_EQ(SoundFeed(), nullptr);
  SoundFeedBlock* again = OpenSoundFeed();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->I32(feed::kSaverCount), 0);
  EXPECT_EQ(again->I32(feed::kAttachCount), 0);
  EXPECT_EQ(again->I32(feed::kFullScreenCount), 0);
  CloseSoundFeed(again);
  EXPECT_EQ(ReadDword(reg::Hive::CurrentUser, "Software\\Fluxo", "Current Version"), 196617u);
  EXPECT_EQ(ReadDword(reg::Hive::CurrentUser, "Software\\Fluxo", "Build"), 990u);
}

TEST_F(SaverRunTest, BlankTimeoutZeroBlanksBeforeTheFirstPass) {
  StoreSetting("BlankTimeout", 0);
  HeadlessWindow window(40, 30, {"fluxo", "/s"});
  ASSERT_TRUE(window.Open());
  ASSERT_TRUE(WaitFor([] { return Saver().saverRunning.load() == 0 && Saver().startTime.load() != 0; }));
  window.Close();
  EXPECT_EQ(Saver().frameCounter.load(), 0u);
  const gdi::FrameSurface& surface = window.Surface();
  for (int i = 0; i < surface.Width() * surface.Height(); ++i) ASSERT_EQ(surface.Pixels()[i], gdi::kBlackPixel);
}

TEST_F(SaverRunTest, BlankTimeoutNeverKeepsDrawing) {
  StoreSetting("BlankTimeout", 241);
  HeadlessWindow window(40, 30, {"fluxo", "/s"});
  ASSERT_TRUE(window.Open());
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 10; }));
  EXPECT_EQ(Saver().saverRunning.load(), 1);
  window.Close();
  EXPECT_EQ(Saver().saverRunning.load(), 0);
}

TEST_F(SaverRunTest, PreviewSizedWindowIsNotFullScreen) {
  class PreviewWindow : public HeadlessWindow {
   public:
    using HeadlessWindow::HeadlessWindow;
    int ScreenWidth() const override { return 1920; }
    int ScreenHeight() const override { return 1080; }
  } window(40, 30, {"fluxo", "/p", "1"});
  ASSERT_TRUE(window.Open());
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 1; }));
  EXPECT_EQ(Saver().fullScreen.load(), 0);
  EXPECT_EQ(SoundFeed()->I32(feed::kFullScreenCount), 0);
  window.Close();
}

TEST_F(SaverRunTest, ModuleFaultIsRecordedAndStopsDrawing) {
  Overrides().soloModule = kModuleCyclic;
  HeadlessWindow window(40, 30, {"fluxo", "/s"});
  ASSERT_TRUE(window.Open());
  // Cyclic has no operations of its own here: give it a faulting frame once the run is up.
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 0; }));
  Saver().renderGate.CloseAndWaitForArrival();
  InstallModuleOperations(kModuleCyclic, ThrowingFrame, NoOpModuleOperation, NoOpModuleOperation,
                          NoOpModuleOperation);
  SetActive(kModuleCyclic, true);
  Saver().renderGate.Open();
  ASSERT_TRUE(WaitFor([] { return Saver().saverRunning.load() == 0; }));
  window.Close();
  EXPECT_EQ(ReadText("Exception"), "SaveScreen");
}

TEST_F(SaverRunTest, StrengthControlRepeatsTheModule) {
  Overrides().soloModule = kModuleCyclic;
  HeadlessWindow window(40, 30, {"fluxo", "/s"}, /*paced=*/false);
  ASSERT_TRUE(window.Open());
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 0; }));
  Saver().renderGate.CloseAndWaitForArrival();
  InstallModuleOperations(kModuleCyclic, CountingFrame, NoOpModuleOperation, NoOpModuleOperation,
                          NoOpModuleOperation);
  Slot(kModuleCyclic).controls.value[9] = 3;
  uint32_t start = Saver().frameCounter.load();
  Saver().renderGate.Open();
  ASSERT_TRUE(WaitFor([] { return g_frames.load() >= 30; }));
  Saver().renderGate.CloseAndWaitForArrival();
  uint32_t passes = Saver().frameCounter.load() - start;
  EXPECT_EQ(g_frames.load(), 3 * static_cast<int>(passes));
  Saver().renderGate.Open();
  window.Close();
}

}  // namespace
}  // namespace fluxo::test

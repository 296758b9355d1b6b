// A loaded plug-in as the render loop drives it: drawing through the device,
// the Strength rule, and faults while drawing.
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/headless_window.h"
#include "engine/render_thread.h"
#include "modules/plugin_fixture.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::test {
namespace {

using namespace std::chrono_literals;

class PlugInRunningTest : public PlugInTest {
 protected:
  void SetUp() override {
    PlugInTest::SetUp();
    surface = std::make_unique<gdi::FrameSurface>(16, 12);
    PlugIn().width = 16;
    PlugIn().height = 12;
    PlugIn().dc = surface.get();
  }
  std::unique_ptr<gdi::FrameSurface> surface;
};

TEST_F(PlugInRunningTest, ThePlugInDrawsIntoTheSurfaceThroughItsDevice) {
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  ModuleSlot& slot = PlugIn();
  EXPECT_EQ(slot.dc, surface.get()) << "outside its calls the record holds the surface";
  slot.allocate(&slot);
  slot.initialise(&slot);
  EXPECT_EQ(slot.frame(&slot), 0);
  EXPECT_EQ(surface->PixelAt(0, 0), gdi::PixelOfEntry(7));
  EXPECT_EQ(surface->PixelAt(3, 3), gdi::PixelOfEntry(7));
  EXPECT_EQ(surface->PixelAt(4, 4), 0);
  EXPECT_EQ(slot.dc, surface.get());
  slot.free(&slot);
}

TEST_F(PlugInRunningTest, StrengthRepeatsTheFrameUntilItIsNotDue) {
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  ModuleSlot& slot = PlugIn();
  slot.controls.value[9] = 5;
  SetActive(kModulePlugIn, true);
  slot.initialise(&slot);
  RunModulePass(1);
  EXPECT_EQ(Report().frames, 3) << "the third frame says 42 and ends the repetitions";
}

TEST_F(PlugInRunningTest, AboutReachesThePlugIn) {
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  const int32_t before = Report().aboutCalls;
  ASSERT_NE(PlugIn().about, nullptr);
  PlugIn().about(&PlugIn());
  EXPECT_EQ(Report().aboutCalls, before + 1);
}

TEST_F(PlugInRunningTest, AFaultWhileDrawingIsRaisedAndTheLibraryIsNotCalledAgain) {
  ASSERT_EQ(LoadPlugIn("ProbeCrashFrame.so"), 1);
  ModuleSlot& slot = PlugIn();
  slot.initialise(&slot);
  slot.frame(&slot);
  slot.frame(&slot);
  EXPECT_THROW(slot.frame(&slot), PlugInFault);
  EXPECT_EQ(slot.dc, surface.get()) << "the record gets its surface back";
  EXPECT_FALSE(Bound());
  EXPECT_EQ(surface->PixelAt(0, 0), gdi::PixelOfEntry(7)) << "what it drew before stays";
}

template <typename Predicate>
bool WaitFor(Predicate predicate) {
  auto end = std::chrono::steady_clock::now() + 10s;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

TEST_F(PlugInRunningTest, ASaverRunPlaysTheExamplePlugIn) {
  WriteText(MakeKey(ModuleKey("Ribbons", "PlugIn")), "PluginPath", "Lissajous.so");
  ASSERT_EQ(WriteActiveDisplay("Ribbons"), reg::kSuccess);
  HeadlessWindow window(60, 40, {"fluxo", "/s"}, /*paced=*/false);
  ASSERT_TRUE(window.Open());
  ASSERT_TRUE(WaitFor([] { return Saver().frameCounter.load() > 10; }));
  window.Close();
  EXPECT_TRUE(IsActive(kModulePlugIn));
  const uint8_t* p = window.Surface().Pixels();
  const int animated = static_cast<int>(std::count_if(p, p + 60 * 40, [](uint8_t v) {
    return v >= gdi::kFirstAnimatedPixel && v < gdi::kFirstAnimatedPixel + gdi::kAnimatedEntries;
  }));
  EXPECT_GT(animated, 20) << "the figure is drawn in animated colours";
  char place[32] = {};
  ReadSetting("Exception", SettingsKeyName(), reg::kRegSz, place, sizeof place);
  EXPECT_STREQ(place, "");
}

TEST_F(PlugInRunningTest, ASaverRunWhosePlugInFaultsRecordsItAndStopsDrawing) {
  WriteText(MakeKey(ModuleKey("Faulty", "PlugIn")), "PluginPath", "ProbeCrashFrame.so");
  ASSERT_EQ(WriteActiveDisplay("Faulty"), reg::kSuccess);
  {
    HeadlessWindow window(40, 30, {"fluxo", "/s"}, /*paced=*/false);
    ASSERT_TRUE(window.Open());
    ASSERT_TRUE(WaitFor([] { return Saver().saverRunning.load() == 0; }));
    window.Close();
  }
  char place[32] = {};
  ReadSetting("Exception", SettingsKeyName(), reg::kRegSz, place, sizeof place);
  EXPECT_STREQ(place, "SaveScreen");
  EXPECT_FALSE(Bound());
}

}  // namespace
}  // namespace fluxo::test

#include <gtest/gtest.h>

#include "settings/display_fixture.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

using PresetsTest = test::DisplayTest;
using CaptureTest = test::DisplayTest;

TEST_F(PresetsTest, NinePresetsAndTheSoundSettingsDisplay) {
  EnsureStartupDisplays();
  const std::vector<std::string> expected = {"[D] Bezier", "[D] Cyclic", "[D] Pattern", "[D] Plasma", "[D] Polygon",
                                             "[D] Sphere", "[D] Stain",  "[D] Star",    "[D] Vortex",
                                             "[R] Saved Sound Settings"};
  EXPECT_EQ(ListDisplays(), expected);
  EXPECT_EQ(Number(PaletteKey("[D] Star"), "GreenEffect"), kEffectRamp);
  EXPECT_EQ(Number(PaletteKey("[D] Plasma"), "BlueEffect"), kEffectRandom);
  EXPECT_TRUE(DisplayHasModule("[D] Plasma", "Plasma"));
  EXPECT_FALSE(DisplayHasModule("[D] Plasma", "Bezier"));
  EXPECT_TRUE(DisplayHasModule(kSoundSettingsDisplay, "Random"));
  EXPECT_EQ(Main().showInfo, 1u);
  EXPECT_FALSE(HasValue(ModuleKey("[D] Bezier", "Bezier"), "Control0")) << "presets hold the defaults";

  // A second start finds them and makes nothing anew.
  DeleteDisplay("[D] Cyclic");
  EnsureStartupDisplays();
  EXPECT_EQ(ListDisplays().size(), expected.size() - 1);
  DeleteDisplay(kSoundSettingsDisplay);
  EnsureStartupDisplays();
  EXPECT_TRUE(DisplayExists(kSoundSettingsDisplay)) << "the fallback display is always made again";
}

TEST_F(PresetsTest, APresetLoadsAsItsModuleAlone) {
  EnsureStartupDisplays();
  SetActive(kModuleWhip, true);
  ASSERT_EQ(LoadDisplay("[D] Sphere"), 1);
  for (int m = 0; m < kModuleCount; ++m) EXPECT_EQ(IsActive(m), m == kModuleSphere) << kModuleNames[m];
  EXPECT_EQ(palette->effect[0].load(), kEffectRandom);
}

TEST_F(CaptureTest, CapturesTakeTheFirstFreeNumber) {
  EXPECT_EQ(NextCaptureName(), "Capture #1");
  MakeKey(DisplayKeyPath("Capture #1"));
  MakeKey(DisplayKeyPath("Capture #3"));
  EXPECT_EQ(NextCaptureName(), "Capture #2");
  ActivateOnly(kModuleBezier);
  CaptureDisplay();
  EXPECT_TRUE(DisplayExists("Capture #2"));
  EXPECT_EQ(NextCaptureName(), "Capture #4");
}

TEST_F(CaptureTest, ACaptureStoresFixedValuesWithoutRandomAndRestoresTheRun) {
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  ActivateOnly(kModuleBezier);
  SetActive(kModuleRandom, true);
  ControlBlock& c = Controls(kModuleBezier);
  c.source[3] = kSourceOscillate;
  c.value[3] = 57;  // the value on screen
  feed->SetU32(feed::kCaptureRequest, 1);
  palette->effect[0].store(kEffectCustom);
  palette->logPalette[4] = {1, 2, 3, 1};
  SetCaptureColours(true);

  CaptureDisplay();
  const std::string key = ModuleKey("Capture #1", "Bezier");
  EXPECT_EQ(Number(key, "Check3"), kSourceSet);
  EXPECT_EQ(Number(key, "Control3"), 57);
  EXPECT_FALSE(DisplayHasModule("Capture #1", "Random"));
  EXPECT_EQ(ActiveDisplayName(), "Capture #1");
  reg::Key pal = OpenKey(PaletteKey("Capture #1"));
  uint8_t custom[708];
  uint32_t size = sizeof custom;
  ASSERT_EQ(reg::QueryValue(pal, "Custom", nullptr, custom, &size), reg::kSuccess);
  EXPECT_EQ(custom[12], 1);
  EXPECT_EQ(custom[14], 3);

  EXPECT_EQ(c.source[3], kSourceOscillate) << "the run goes on as before";
  EXPECT_TRUE(IsActive(kModuleRandom));
  EXPECT_EQ(feed->U32(feed::kCaptureRequest), 0u);
  EXPECT_FALSE(CaptureColours());
  EXPECT_EQ(Saver().palettePaused.load(), 0);
  CloseSoundFeed(feed);
}

}  // namespace
}  // namespace fluxo

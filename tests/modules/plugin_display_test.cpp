// The example plug-in end to end: it loads, draws, and its display survives a
// save, an export, an import and a load.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "modules/plugin_fixture.h"
#include "platform/gdi/frame_surface.h"
#include "settings/display_file.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

constexpr int kSpeed = 1;
constexpr int kTrail = 3;

class PlugInDisplayTest : public PlugInTest {};

TEST_F(PlugInDisplayTest, TheExampleDisplaySavesExportsImportsAndLoads) {
  ASSERT_EQ(LoadPlugIn("Lissajous.so"), 1);
  std::snprintf(PlugIn().pluginPath, sizeof PlugIn().pluginPath, "Lissajous.so");
  EXPECT_STREQ(PlugIn().controls.label[kSpeed], "Speed");
  PlugIn().controls.value[kSpeed] = 40;
  PlugIn().controls.source[kTrail] = kSourceRandom;
  PlugIn().controls.rangeLo[kTrail] = 3;
  ActivateOnly(kModulePlugIn);
  SaveCurrentDisplay("Ribbons");

  const std::string key = ModuleKey("Ribbons", "PlugIn");
  EXPECT_EQ(Number(key, "Control1"), 40);
  EXPECT_EQ(Number(key, "Check3"), kSourceRandom);
  EXPECT_EQ(Number(key, "RangeLo3"), 3);
  std::string stored;
  ReadText(OpenKey(key), "PluginPath", stored);
  EXPECT_EQ(stored, "Lissajous.so");

  const std::string file = TestHome() + "/ribbons.flx";
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("Ribbons").c_str(), file.c_str()), 1);
  ASSERT_EQ(DeleteDisplay("Ribbons"), 1);
  ASSERT_EQ(ImportDisplay(file.c_str(), "Ribbons Again"), 1);

  // A fresh start of the table: nothing of the plug-in is left in it.
  ClearModuleTable();
  for (int i = 0; i < kModuleCount; ++i) Slot(i).name = kModuleNames[i];
  DefineAllControls();
  ASSERT_EQ(LoadDisplay("Ribbons Again"), 1);
  EXPECT_TRUE(IsActive(kModulePlugIn));
  EXPECT_TRUE(Bound());
  EXPECT_STREQ(PlugIn().pluginPath, "Lissajous.so");
  const ControlBlock& c = PlugIn().controls;
  EXPECT_EQ(c.value[kSpeed], 40);
  EXPECT_EQ(c.source[kTrail], kSourceRandom);
  EXPECT_EQ(c.rangeLo[kTrail], 3);
  EXPECT_EQ(c.value[9], 1) << "Strength";
  std::remove(file.c_str());
}

TEST_F(PlugInDisplayTest, ADisplayWhosePlugInFaultsWhileLoadingDoesNotLoad) {
  WriteText(MakeKey(ModuleKey("Broken", "PlugIn")), "PluginPath", "ProbeCrashControls.so");
  EXPECT_EQ(LoadDisplay("Broken"), 0);
  EXPECT_FALSE(Bound());
  WriteText(MakeKey(ModuleKey("Fine", "Bezier")), "Path", "");
  EXPECT_EQ(LoadDisplay("Fine"), 1) << "the program goes on loading displays";
}

TEST_F(PlugInDisplayTest, TheExampleErasesWhatFallsOffItsTrail) {
  gdi::FrameSurface surface(64, 48);
  ModuleSlot& slot = PlugIn();
  slot.width = 64;
  slot.height = 48;
  slot.dc = &surface;
  ASSERT_EQ(LoadPlugIn("Lissajous.so"), 1);
  slot.controls.value[kTrail] = 1;
  slot.allocate(&slot);
  slot.initialise(&slot);
  const int frames = 30;
  for (int i = 0; i < frames; ++i) slot.frame(&slot);
  // With a trail of one only the newest figure is on screen, in the newest colour.
  const uint8_t newest = gdi::PixelOfEntry(frames % FLUXO_PALETTE_ENTRIES);
  const uint8_t* p = surface.Pixels();
  const int drawn = static_cast<int>(std::count(p, p + 64 * 48, newest));
  const int black = static_cast<int>(std::count(p, p + 64 * 48, 0));
  EXPECT_GT(drawn, 40);
  EXPECT_EQ(drawn + black, 64 * 48) << "nothing of older figures is left";
  slot.free(&slot);
}

}  // namespace
}  // namespace fluxo::test

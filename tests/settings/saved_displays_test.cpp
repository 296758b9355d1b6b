#include <gtest/gtest.h>

#include <cstring>

#include "settings/display_fixture.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

using SavedDisplaysTest = test::DisplayTest;

TEST_F(SavedDisplaysTest, SaveWritesOnlyWhatDiffersFromTheDefinition) {
  ActivateOnly(kModuleBezier);
  ControlBlock& c = Controls(kModuleBezier);
  c.value[0] = 5;                 // Set, not the default: stored
  c.source[3] = kSourceRandom;    // full range: only its source
  c.source[4] = kSourceOscillate; // one end moved: that end and the sense
  c.rangeHi[4] = 100;
  c.sense[4] = 3;
  c.source[1] = kSourceRandom;    // a changed value under a Random source is not kept
  c.value[1] = 7;
  std::strcpy(Slot(kModuleBezier).path, "/pictures/*.bmp");
  SaveCurrentDisplay("Mine");

  const std::string key = ModuleKey("Mine", "Bezier");
  EXPECT_EQ(Number(key, "Control0"), 5);
  EXPECT_FALSE(HasValue(key, "Control2")) << "a default value is not written";
  EXPECT_EQ(Number(key, "Check2"), kSourceSet) << "every defined control has its source";
  EXPECT_EQ(Number(key, "Check3"), kSourceRandom);
  EXPECT_FALSE(HasValue(key, "RangeLo3"));
  EXPECT_FALSE(HasValue(key, "RangeHi3"));
  EXPECT_FALSE(HasValue(key, "Sense3")) << "Random has no sense";
  EXPECT_FALSE(HasValue(key, "RangeLo4"));
  EXPECT_EQ(Number(key, "RangeHi4"), 100);
  EXPECT_EQ(Number(key, "Sense4"), 3);
  EXPECT_FALSE(HasValue(key, "Control1"));
  EXPECT_FALSE(HasValue(key, "Check10")) << "undefined controls are never stored";
  char path[260];
  EXPECT_TRUE(ReadText(OpenKey(key), "Path", path, sizeof path));
  EXPECT_STREQ(path, "/pictures/*.bmp");
  EXPECT_FALSE(HasValue(key, "PluginPath")) << "empty texts are not written";
  EXPECT_FALSE(KeyExists(ModuleKey("Mine", "Cyclic").c_str())) << "inactive modules have no key";
  EXPECT_EQ(ActiveDisplayName(), "Mine");
  EXPECT_EQ(Number(DisplayKeyPath("Mine"), "ClearFirst"), 1);
}

TEST_F(SavedDisplaysTest, LoadGivesBackWhatWasSavedAndDefaultsForTheRest) {
  ActivateOnly(kModuleBezier);
  ControlBlock& c = Controls(kModuleBezier);
  c.value[0] = 5;
  c.source[4] = kSourceOscillate;
  c.rangeLo[4] = 300;
  c.rangeHi[4] = 2;
  c.sense[4] = 4;
  Main().clearFirst = 0;
  SaveCurrentDisplay("Mine");

  ClearModuleTable();
  for (int i = 0; i < kModuleCount; ++i) Slot(i).name = kModuleNames[i];
  DefineAllControls();
  Main().clearFirst = 1;
  SetActive(kModuleCyclic, true);
  EXPECT_EQ(LoadDisplay("Mine"), 1);
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(IsActive(kModuleCyclic));
  EXPECT_EQ(c.value[0], 5);
  EXPECT_EQ(c.value[2], 100) << "missing value: the default";
  EXPECT_EQ(c.source[4], kSourceOscillate);
  EXPECT_EQ(c.rangeLo[4], 300);
  EXPECT_EQ(c.rangeHi[4], 2);
  EXPECT_EQ(c.sense[4], 4);
  EXPECT_EQ(c.rangeLo[3], 1) << "missing range ends: the limits";
  EXPECT_EQ(c.rangeHi[3], 200);
  EXPECT_EQ(c.sense[3], 10) << "missing sense: 10";
  EXPECT_EQ(Main().clearFirst, 0u);
  EXPECT_EQ(CurrentDisplayName(), "Mine");
}

TEST_F(SavedDisplaysTest, LoadedValuesOutsideTheLimitsAreClamped) {
  const std::string key = ModuleKey("Odd", "Bezier");
  reg::Key k = MakeKey(key);
  WriteNumber(k, "Control3", 500);   // Width 1..200
  WriteNumber(k, "RangeLo3", -4);
  WriteNumber(k, "RangeHi3", 0);
  WriteNumber(k, "Check3", kSourceSet);
  ASSERT_EQ(LoadDisplay("Odd"), 1);
  const ControlBlock& c = Controls(kModuleBezier);
  EXPECT_EQ(c.value[3], 12);
  EXPECT_EQ(c.rangeLo[3], 1);
  EXPECT_EQ(c.rangeHi[3], 200);
}

TEST_F(SavedDisplaysTest, SavingTwiceLeavesNothingOfTheFirstSave) {
  ActivateOnly(kModuleBezier);
  Controls(kModuleBezier).value[0] = 5;
  SetActive(kModuleCyclic, true);
  SaveCurrentDisplay("Twice");
  Controls(kModuleBezier).value[0] = 1;
  SetActive(kModuleCyclic, false);
  SaveCurrentDisplay("Twice");
  EXPECT_FALSE(HasValue(ModuleKey("Twice", "Bezier"), "Control0"));
  EXPECT_FALSE(KeyExists(ModuleKey("Twice", "Cyclic").c_str()));
}

TEST_F(SavedDisplaysTest, ADisplayWithoutModulesLoadsNothingAndAnEmptyNameSavesNothing) {
  MakeKey(DisplayKeyPath("Hollow"));
  SetActive(kModuleBezier, true);
  EXPECT_EQ(LoadDisplay("Hollow"), 0);
  for (int i = 0; i < kModuleCount; ++i) EXPECT_FALSE(IsActive(i));
  EXPECT_EQ(LoadDisplay("Nonesuch"), 0);
  EXPECT_EQ(LoadDisplay(""), 0);
  SaveCurrentDisplay("");
  SaveCurrentDisplay("a\\b");
  EXPECT_TRUE(ListDisplays().size() == 1);
  EXPECT_FALSE(KeyExists(DisplayKeyPath("a").c_str()));
}

TEST_F(SavedDisplaysTest, ASequencerKeyClearsTheModulesBeforeItButNotRandom) {
  MakeKey(ModuleKey("Seq", "Bezier"));
  MakeKey(ModuleKey("Seq", "Effect"));
  reg::Key seq = MakeKey(ModuleKey("Seq", "Sequencer"));
  WriteNumber(seq, "SeqItems", 1, reg::kRegDword);
  WriteText(seq, "0", "Other");
  MakeKey(ModuleKey("Seq", "Random"));
  ASSERT_EQ(LoadDisplay("Seq"), 1);
  for (int i = 0; i < kModuleSequencer; ++i) EXPECT_FALSE(IsActive(i)) << kModuleNames[i];
  EXPECT_TRUE(IsActive(kModuleSequencer));
  EXPECT_TRUE(IsActive(kModuleRandom));
  ASSERT_EQ(CurrentSequence().items.size(), 1u);
  EXPECT_STREQ(CurrentSequence().items[0].name, "Other");
  EXPECT_TRUE(DisplayHasModule("Seq", "Sequencer"));
  EXPECT_TRUE(DisplayHasModule("Seq", "random"));
  EXPECT_FALSE(DisplayHasModule("Seq", "Star"));
}

int g_loaderCalls = 0;
std::string g_loaderName;
int RefusingLoader(const char* name) {
  ++g_loaderCalls;
  g_loaderName = name;
  return 0;
}

TEST_F(SavedDisplaysTest, APlugInThatCannotLoadFailsTheWholeLoad) {
  reg::Key plug = MakeKey(ModuleKey("Plug", "PlugIn"));
  WriteText(plug, "PluginPath", "wobble.so");
  reg::Key pal = MakeKey(PaletteKey("Plug"));
  WriteNumber(pal, "RedEffect", kEffectCustom);
  WriteNumber(OpenKey(DisplayKeyPath("Plug")), "ClearFirst", 0);
  SetPlugInLoader(&RefusingLoader);
  palette->effect[0].store(kEffectFade);
  EXPECT_EQ(LoadDisplay("Plug"), 0);
  EXPECT_EQ(g_loaderCalls, 1);
  EXPECT_EQ(g_loaderName, "wobble.so");
  EXPECT_EQ(palette->effect[0].load(), kEffectFade) << "the palette is not read";
  EXPECT_EQ(Main().clearFirst, 1u) << "nor ClearFirst";
  EXPECT_EQ(Saver().palettePaused.load(), 0) << "the loading flag is cleared on the early exit";
}

TEST_F(SavedDisplaysTest, SoundSourcesOscillateInTheSaverWithoutTheCompanion) {
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  feed->SetU32(feed::kCompanionActive, 0);
  reg::Key k = MakeKey(ModuleKey("Music", "Bezier"));
  WriteNumber(k, "Check1", kSourceVolume);
  WriteNumber(MakeKey(PaletteKey("Music")), "RedScaleSource", kSourceLeft);

  ASSERT_EQ(LoadDisplay("Music"), 1);
  EXPECT_EQ(Controls(kModuleBezier).source[1], kSourceOscillate);
  EXPECT_EQ(palette->source[ParamSlot(kParamScale, 0)], kSourceOscillate);
  EXPECT_EQ(feed->Text(feed::kDisplayName, 128), "Music");

  Saver().configurationRun = true;
  ASSERT_EQ(LoadDisplay("Music"), 1);
  EXPECT_EQ(Controls(kModuleBezier).source[1], kSourceVolume) << "the configuration keeps sound settings";
  EXPECT_EQ(feed->U32(feed::kModulesUseSound), 1u);
  EXPECT_EQ(feed->U32(feed::kPaletteUsesSound), 1u);
  CloseSoundFeed(feed);
}

TEST_F(SavedDisplaysTest, ListingDeletingAndTheActiveMark) {
  for (const char* name : {"beta", "Alpha", "Gamma"}) {
    ActivateOnly(kModuleStar);
    SaveCurrentDisplay(name);
  }
  int active = -2;
  EXPECT_EQ(ListDisplays(&active), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
  EXPECT_EQ(active, 2) << "the last save is active";
  WriteActiveDisplay("BETA");
  ListDisplays(&active);
  EXPECT_EQ(active, 1) << "names match whatever their case";
  EXPECT_EQ(DeleteDisplay("beta"), 1);
  EXPECT_EQ(DeleteDisplay("beta"), 0);
  EXPECT_EQ(DeleteDisplay(""), 0);
  EXPECT_EQ(ListDisplays(&active), (std::vector<std::string>{"Alpha", "Gamma"}));
  EXPECT_EQ(active, -1);
}

TEST_F(SavedDisplaysTest, ListingAnEmptyStoreCreatesNothing) {
  EXPECT_TRUE(ListDisplays().empty());
  EXPECT_FALSE(KeyExists(SavedKeyPath().c_str())) << "else the presets would never be made";
}

TEST_F(SavedDisplaysTest, AnActiveNameOfAnyLengthReadsBack) {
  const std::string longName(5000, 'x');
  ASSERT_EQ(WriteActiveDisplay(longName), reg::kSuccess);
  EXPECT_EQ(ActiveDisplayName(), longName);
  EXPECT_FALSE(IsStorableDisplayName(std::string(128, 'a')));
  EXPECT_TRUE(IsStorableDisplayName(std::string(127, 'a')));
}

}  // namespace
}  // namespace fluxo

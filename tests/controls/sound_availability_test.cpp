#include <gtest/gtest.h>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "platform/system/saver_state.h"
#include "sound/feed_fixture.h"

namespace fluxo {
namespace {

// A display with Star active (control 1 on Left, control 2 on 18KHz), Ray
// inactive but set to Volume, and one palette parameter on a band.
class SoundAvailability : public test::FeedTest {
 protected:
  void SetUp() override {
    test::FeedTest::SetUp();
    ResetSaverState();
    ClearModuleTable();
    DefineAllControls();
    MarkSoundCapableControls();
    SetActive(kModuleStar, true);
    star().source[1] = kSourceLeft;
    star().source[2] = kSourceLastBand;
    star().source[3] = kSourceRandom;
    star().source[25] = kSourceVolume;  // not a Star control
    Slot(kModuleRay).controls.source[0] = kSourceVolume;
    palette_ = CreatePaletteEngine(nullptr);
    ASSERT_NE(palette_, nullptr);
    palette_->source[ParamSlot(kParamCycleRate, 1)] = kSourceFirstBand;
    feed_->SetU32(feed::kPaletteUsesSound, 1);
    feed_->SetU32(feed::kModulesUseSound, 1);
  }
  void TearDown() override {
    DestroyPaletteEngine(palette_);
    ClearModuleTable();
    ResetSaverState();
    test::FeedTest::TearDown();
  }

  static ControlBlock& star() { return Slot(kModuleStar).controls; }
  int32_t paletteSource() const { return palette_->source[ParamSlot(kParamCycleRate, 1)]; }

  PaletteState* palette_ = nullptr;
};

TEST_F(SoundAvailability, SaverWithoutCompanionOscillatesInstead) {
  SetCompanion(false, true, true);
  ApplySoundAvailability();
  EXPECT_EQ(star().source[1], kSourceOscillate);
  EXPECT_EQ(star().source[2], kSourceOscillate);
  EXPECT_EQ(star().source[3], kSourceRandom);
  EXPECT_EQ(star().source[25], kSourceVolume);
  EXPECT_EQ(Slot(kModuleRay).controls.source[0], kSourceVolume);
  EXPECT_EQ(paletteSource(), kSourceOscillate);
  EXPECT_EQ(feed_->U32(feed::kPaletteUsesSound), 0u);
  EXPECT_EQ(feed_->U32(feed::kModulesUseSound), 0u);
}

TEST_F(SoundAvailability, SaverWithCompanionKeepsSyncedSources) {
  SetCompanion(true, true, false);
  ApplySoundAvailability();
  EXPECT_EQ(star().source[1], kSourceLeft);
  EXPECT_EQ(star().source[2], kSourceLastBand);
  EXPECT_EQ(paletteSource(), kSourceOscillate);
  EXPECT_EQ(feed_->U32(feed::kPaletteUsesSound), 0u);
  EXPECT_EQ(feed_->U32(feed::kModulesUseSound), 1u);
}

TEST_F(SoundAvailability, PaletteSoundAlsoCountsForTheModules) {
  SetCompanion(true, false, true);
  SetActive(kModuleStar, false);
  ApplySoundAvailability();
  EXPECT_EQ(star().source[1], kSourceLeft);  // inactive: untouched
  EXPECT_EQ(paletteSource(), kSourceFirstBand);
  EXPECT_EQ(feed_->U32(feed::kPaletteUsesSound), 1u);
  EXPECT_EQ(feed_->U32(feed::kModulesUseSound), 1u);
}

TEST_F(SoundAvailability, ConfigurationKeepsEverySoundSetting) {
  SetCompanion(false, false, false);
  Saver().configurationRun = true;
  ApplySoundAvailability();
  EXPECT_EQ(star().source[1], kSourceLeft);
  EXPECT_EQ(star().source[2], kSourceLastBand);
  EXPECT_EQ(paletteSource(), kSourceFirstBand);
  EXPECT_EQ(feed_->U32(feed::kPaletteUsesSound), 1u);
  EXPECT_EQ(feed_->U32(feed::kModulesUseSound), 1u);
}

TEST_F(SoundAvailability, WorksWithoutAPalette) {
  DestroyPaletteEngine(palette_);
  palette_ = nullptr;
  SetCompanion(false, true, true);
  ApplySoundAvailability();
  EXPECT_EQ(star().source[1], kSourceOscillate);
  EXPECT_EQ(feed_->U32(feed::kModulesUseSound), 0u);
}

}  // namespace
}  // namespace fluxo

#include <gtest/gtest.h>

#include "platform/system/random.h"
#include "settings/display_fixture.h"
#include "settings/display_palette.h"

namespace fluxo {
namespace {

using DisplayPaletteTest = test::DisplayTest;

constexpr int kRed = 0, kGreen = 1, kBlue = 2;

TEST_F(DisplayPaletteTest, ValueNamesIncludingTheTwoIrregularOnes) {
  EXPECT_EQ(PaletteValueName(kParamScale, kRed, ""), "RedScale");
  EXPECT_EQ(PaletteValueName(kParamDensity, kGreen, "RangeHi"), "GreenDensityRangeHi");
  EXPECT_EQ(PaletteValueName(kParamIntensity, kBlue, "Source"), "BlueIntensitySource");
  EXPECT_EQ(PaletteValueName(kParamCycleRate, kGreen, "Sense"), "CycleRateSense");
  EXPECT_EQ(PaletteValueName(kParamSeconds, kGreen, "Sense"), "RedSecondsSense");
  EXPECT_EQ(PaletteValueName(kParamSeconds, kGreen, "RangeLo"), "GreenSecondsRangeLo");
}

TEST_F(DisplayPaletteTest, SaveAndLoadKeepEveryParameterExceptTheSharedNames) {
  ActivateOnly(kModuleBezier);
  for (int ch = 0; ch < kChannels; ++ch) {
    palette->value[ParamSlot(kParamEvent, ch)] = 100 + ch;
    palette->source[ParamSlot(kParamDirection, ch)] = kSourceOscillate;
    palette->rangeLo[ParamSlot(kParamDirection, ch)] = -10 - ch;
    palette->sense[ParamSlot(kParamDirection, ch)] = 2 + ch;
    palette->rangeHi[ParamSlot(kParamDirection, ch)] = 50;  // the limit; the default is 3
    palette->value[ParamSlot(kParamCycleRate, ch)] = 20 + ch;
    palette->source[ParamSlot(kParamSeconds, ch)] = kSourceOscillate;
    palette->sense[ParamSlot(kParamSeconds, ch)] = 3 + ch;
    palette->effect[ch].store(ch);
  }
  SaveCurrentDisplay("Colours");
  const std::string key = PaletteKey("Colours");
  EXPECT_FALSE(HasValue(key, "RedDirection")) << "no value under a moving source";
  EXPECT_FALSE(HasValue(key, "RedDirectionRangeHi")) << "range end at its limit";
  EXPECT_FALSE(HasValue(key, "Custom"));

  ResetPaletteSettings(*palette);
  for (auto& e : palette->effect) e.store(kEffectRandom);
  ASSERT_EQ(LoadDisplay("Colours"), 1);
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(palette->value[ParamSlot(kParamEvent, ch)], 100 + ch);
    EXPECT_EQ(palette->rangeLo[ParamSlot(kParamDirection, ch)], -10 - ch);
    EXPECT_EQ(palette->rangeHi[ParamSlot(kParamDirection, ch)], 50) << "a full range stays full";
    EXPECT_EQ(palette->rangeHi[ParamSlot(kParamDensity, ch)], 12) << "a stored default range stays";
    EXPECT_EQ(palette->sense[ParamSlot(kParamDirection, ch)], 2 + ch);
    EXPECT_EQ(palette->effect[ch].load(), ch);
    EXPECT_EQ(palette->value[ParamSlot(kParamCycleRate, ch)], 22) << "blue was written last";
  }
  EXPECT_EQ(palette->sense[ParamSlot(kParamSeconds, kRed)], 4) << "green's sense overwrote red's";
  EXPECT_EQ(palette->sense[ParamSlot(kParamSeconds, kGreen)], 4);
  EXPECT_EQ(palette->sense[ParamSlot(kParamSeconds, kBlue)], 5);
}

TEST_F(DisplayPaletteTest, CustomColoursAndTheColoursOnScreen) {
  ActivateOnly(kModuleBezier);
  palette->effect[1].store(kEffectCustom);
  for (int j = 0; j < kPaletteEntries; ++j) {
    palette->customEntries[j] = {static_cast<uint8_t>(j), 1, 2, 1};
    palette->logPalette[j] = {9, static_cast<uint8_t>(j), 8, 1};
  }
  SaveCurrentDisplay("Custom");
  SetCaptureColours(true);
  SaveCurrentDisplay("Screen");
  SetCaptureColours(false);

  for (auto& e : palette->customEntries) e = {0, 0, 0, 0};
  ASSERT_EQ(LoadDisplay("Custom"), 1);
  EXPECT_EQ(palette->customEntries[200].red, 200);
  EXPECT_EQ(palette->customEntries[200].flags, 1);
  ASSERT_EQ(LoadDisplay("Screen"), 1);
  EXPECT_EQ(palette->customEntries[200].red, 9);
  EXPECT_EQ(palette->customEntries[200].green, 200);
}

TEST_F(DisplayPaletteTest, AShortCustomValueKeepsItsWholeColoursAndALongOneItsFirst236) {
  MakeKey(ModuleKey("Short", "Star"));
  reg::Key key = MakeKey(PaletteKey("Short"));
  const uint8_t seven[7] = {10, 11, 12, 20, 21, 22, 99};
  ASSERT_EQ(reg::SetValue(key, "Custom", reg::kRegBinary, seven, sizeof seven), reg::kSuccess);
  for (auto& e : palette->customEntries) e = {5, 5, 5, 1};
  ASSERT_EQ(LoadDisplay("Short"), 1);
  EXPECT_EQ(palette->customEntries[0].red, 10);
  EXPECT_EQ(palette->customEntries[1].blue, 22);
  EXPECT_EQ(palette->customEntries[2].red, 5) << "the broken colour and the rest stay";

  std::vector<uint8_t> long_(1000, 77);
  ASSERT_EQ(reg::SetValue(key, "Custom", reg::kRegBinary, long_.data(), 1000), reg::kSuccess);
  ASSERT_EQ(LoadDisplay("Short"), 1);
  EXPECT_EQ(palette->customEntries[235].blue, 77);
}

TEST_F(DisplayPaletteTest, AllEffectSetsEveryChannelBeforeTheChannelsOwn) {
  MakeKey(ModuleKey("Old", "Star"));
  reg::Key key = MakeKey(PaletteKey("Old"));
  WriteNumber(key, "AllEffect", kEffectBlackout);
  WriteNumber(key, "GreenEffect", kEffectFade);
  ASSERT_EQ(LoadDisplay("Old"), 1);
  EXPECT_EQ(palette->allEffect, kEffectBlackout);
  EXPECT_EQ(palette->effect[kRed].load(), kEffectBlackout);
  EXPECT_EQ(palette->effect[kGreen].load(), kEffectFade);
  EXPECT_EQ(palette->effect[kBlue].load(), kEffectBlackout);
}

TEST_F(DisplayPaletteTest, ShiftedDisplaysAreConverted) {
  MakeKey(ModuleKey("Shifted", "Star"));
  reg::Key key = MakeKey(PaletteKey("Shifted"));
  WriteNumber(key, "Shifted", 1);
  WriteNumber(key, "RedDensitySource", 7);  // older displays kept the density here
  WriteNumber(key, "RedSource", kSourceOscillate);
  WriteNumber(key, "RedScale", 60);
  WriteNumber(key, "RedScaleLo", 20);
  WriteNumber(key, "RedScaleHi", 90);
  WriteNumber(key, "RedSense", 3);
  WriteNumber(key, "GreenSource", kSourceRandom);  // below Oscillate: old names ignored
  WriteNumber(key, "GreenScaleLo", 33);
  WriteNumber(key, "RedRampDecayRangeLo", 5);
  WriteNumber(key, "Together", 1);
  WriteNumber(key, "AllEffect", kEffectCoarse);
  WriteNumber(key, "RedEffect", kEffectFade);

  SeedRandom(99);
  ASSERT_EQ(LoadDisplay("Shifted"), 1);
  const int redDensity = ParamSlot(kParamDensity, kRed);
  EXPECT_EQ(palette->rangeLo[redDensity], 7);
  EXPECT_EQ(palette->rangeHi[redDensity], 11);
  EXPECT_EQ(palette->source[redDensity], kSourceRandom);
  const int redScale = ParamSlot(kParamScale, kRed);
  EXPECT_EQ(palette->source[redScale], kSourceOscillate);
  EXPECT_EQ(palette->value[redScale], 60);
  EXPECT_EQ(palette->rangeLo[redScale], 20);
  EXPECT_EQ(palette->rangeHi[redScale], 90);
  EXPECT_EQ(palette->sense[redScale], 3);
  EXPECT_EQ(palette->rangeLo[ParamSlot(kParamScale, kGreen)], 0);
  EXPECT_EQ(palette->rangeLo[ParamSlot(kParamRampDecay, kRed)], 15);
  EXPECT_EQ(palette->rangeLo[ParamSlot(kParamRampDecay, kGreen)], 3) << "the default 1, times 3";
  for (int ch = 0; ch < kChannels; ++ch) {
    EXPECT_EQ(palette->effect[ch].load(), kEffectCoarse) << "Together: one effect for all";
    const int32_t lo = palette->rangeLo[ParamSlot(kParamDirection, ch)];
    EXPECT_TRUE(lo != 0 && lo >= -3 && lo <= 3) << lo;
  }
}

TEST_F(DisplayPaletteTest, ShiftedZeroStillConvertsButKeepsTheDirection) {
  MakeKey(ModuleKey("Unshifted", "Star"));
  reg::Key key = MakeKey(PaletteKey("Unshifted"));
  WriteNumber(key, "Shifted", 0);
  WriteNumber(key, "BlueDensitySource", 2000000000);
  WriteNumber(key, "BlueRampDecayRangeLo", 2000000000);
  ASSERT_EQ(LoadDisplay("Unshifted"), 1);
  for (int ch = 0; ch < kChannels; ++ch)
    EXPECT_EQ(palette->rangeLo[ParamSlot(kParamDirection, ch)], -3) << "the default low end";
  EXPECT_EQ(palette->source[ParamSlot(kParamDensity, kGreen)], kSourceRandom);
  EXPECT_EQ(palette->rangeLo[ParamSlot(kParamDensity, kGreen)], 1) << "the default source, 1, as the low end";
  EXPECT_EQ(palette->rangeHi[ParamSlot(kParamDensity, kGreen)], 5);
  EXPECT_EQ(palette->rangeHi[ParamSlot(kParamDensity, kBlue)], 2000000004);
  EXPECT_EQ(palette->rangeLo[ParamSlot(kParamRampDecay, kBlue)], INT32_MAX) << "saturates, no overflow";
}

}  // namespace
}  // namespace fluxo

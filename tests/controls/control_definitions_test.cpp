#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/controls.h"
#include "engine/module_registry.h"

namespace fluxo {
namespace {

class ControlDefinitions : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearModuleTable();
    DefineAllControls();
  }
  void TearDown() override { ClearModuleTable(); }
};

int CountDefined() {
  int count = 0;
  for (int m = 0; m < kModuleCount; ++m)
    for (int i = 0; i < kControlCount; ++i) count += Slot(m).controls.defined[i];
  return count;
}

int CountSoundCapable() {
  int count = 0;
  for (int m = 0; m < kModuleCount; ++m)
    for (int i = 0; i < kControlCount; ++i) count += Slot(m).controls.soundCapable[i];
  return count;
}

TEST_F(ControlDefinitions, MakesTwoHundredFourteenDefinitions) {
  EXPECT_EQ(CountDefined(), 214);
  EXPECT_EQ(CountSoundCapable(), 0);
  for (int i = 0; i < kControlCount; ++i) {
    EXPECT_EQ(Slot(kModulePlugIn).controls.defined[i], 0);
    EXPECT_EQ(Slot(kModuleSequencer).controls.defined[i], 0);
  }
}

TEST_F(ControlDefinitions, MarksNinetySevenSoundCapable) {
  MarkSoundCapableControls();
  EXPECT_EQ(CountSoundCapable(), 97);
  const ControlBlock& cyclic = Slot(kModuleCyclic).controls;
  EXPECT_EQ(cyclic.soundCapable[1], 1);   // Spasticity
  EXPECT_EQ(cyclic.soundCapable[16], 0);  // Sides (2)
  for (int i = 0; i < kControlCount; ++i) EXPECT_EQ(Slot(kModuleEffect).controls.soundCapable[i], 0);
}

TEST_F(ControlDefinitions, EveryModuleHasStrengthAtNine) {
  for (int m = 0; m < kModuleCount; ++m) {
    if (m == kModulePlugIn || m == kModuleSequencer) continue;
    const ControlBlock& c = Slot(m).controls;
    ASSERT_EQ(c.defined[9], 1) << kModuleNames[m];
    EXPECT_STREQ(c.label[9], "Strength");
    EXPECT_EQ(c.defaultValue[9], 1);
    EXPECT_EQ(c.minValue[9], -10);
    EXPECT_EQ(c.maxValue[9], 10);
  }
}

TEST_F(ControlDefinitions, LabelsAndLimitsComeFromTheTable) {
  const ControlBlock& cyclic = Slot(kModuleCyclic).controls;
  EXPECT_STREQ(cyclic.label[15], "Rotation  (2)");
  EXPECT_STREQ(cyclic.label[8], "Duration");
  EXPECT_EQ(cyclic.defined[13], 0);
  const ControlBlock& vortex = Slot(kModuleVortex).controls;
  EXPECT_STREQ(vortex.label[0], "Points on edge");
  EXPECT_EQ(vortex.value[1], 300);
  EXPECT_EQ(vortex.minValue[1], 1);
  EXPECT_EQ(vortex.maxValue[1], 300);
  const ControlBlock& random = Slot(kModuleRandom).controls;
  EXPECT_STREQ(random.label[0], "Actv/Svd/Snd");
  EXPECT_EQ(random.value[1], 1);
  EXPECT_EQ(random.maxValue[1], 18);
  EXPECT_STREQ(Slot(kModuleLine).controls.label[5], "Y1");
  EXPECT_STREQ(Slot(kModuleWhip).controls.label[21], "Rotation  (2)");
}

TEST(ControlLabelText, KnownAndUnknownIds) {
  EXPECT_STREQ(ControlLabelText(10), "Beziers");
  EXPECT_STREQ(ControlLabelText(187), "Rotation  (2)");
  EXPECT_STREQ(ControlLabelText(218), "Turbulence Type");
  EXPECT_STREQ(ControlLabelText(9), "");
  EXPECT_STREQ(ControlLabelText(9999), "");
}

TEST(DefineModuleControl, SetsTheDefinedStateAndEmptiesThePath) {
  ClearModuleTable();
  ModuleSlot& slot = Slot(kModuleBitmap);
  std::strcpy(slot.path, "/pictures");
  slot.controls.soundCapable[4] = 1;
  slot.controls.source[4] = kSourceVolume;
  DefineModuleControl(kModuleBitmap, 38, 4, 3, -2, 9);
  const ControlBlock& c = slot.controls;
  EXPECT_STREQ(slot.path, "");
  EXPECT_STREQ(c.label[4], "Random Order");
  EXPECT_EQ(c.defined[4], 1);
  EXPECT_EQ(c.value[4], 3);
  EXPECT_EQ(c.defaultValue[4], 3);
  EXPECT_EQ(c.minValue[4], -2);
  EXPECT_EQ(c.rangeLo[4], -2);
  EXPECT_EQ(c.maxValue[4], 9);
  EXPECT_EQ(c.rangeHi[4], 9);
  EXPECT_EQ(c.sense[4], 10);
  EXPECT_FLOAT_EQ(c.drift[4], 0.5f);
  EXPECT_EQ(c.soundCapable[4], 0);
  EXPECT_EQ(c.source[4], kSourceSet);
  ClearModuleTable();
}

TEST_F(ControlDefinitions, ResetRestoresDefinedControlsOnly) {
  MarkSoundCapableControls();
  ModuleSlot& slot = Slot(kModuleStar);
  ControlBlock& c = slot.controls;
  std::strcpy(slot.path, "somewhere");
  c.value[1] = 200;
  c.rangeLo[1] = 5;
  c.rangeHi[1] = 6;
  c.sense[1] = 3;
  c.drift[1] = 7.25f;
  c.source[1] = kSourceLeft;
  c.value[25] = 77;  // not defined for Star
  ResetControls(kModuleStar);
  EXPECT_EQ(c.value[1], 1);
  EXPECT_EQ(c.rangeLo[1], 1);
  EXPECT_EQ(c.rangeHi[1], 320);
  EXPECT_EQ(c.sense[1], 10);
  EXPECT_FLOAT_EQ(c.drift[1], 0.5f);
  EXPECT_EQ(c.source[1], kSourceSet);
  EXPECT_EQ(c.soundCapable[1], 1);
  EXPECT_STREQ(c.label[1], "Star Size");
  EXPECT_EQ(c.value[25], 77);
  EXPECT_STREQ(slot.path, "");
}

TEST(FillSourceList, OffersOnlySetAndRandomWithoutSound) {
  EXPECT_EQ(FillSourceList(false), (std::vector<std::string>{"Set", "Random"}));
}

TEST(FillSourceList, SoundCapableListIsInSourceCodeOrder) {
  std::vector<std::string> list = FillSourceList(true);
  ASSERT_EQ(list.size(), 22u);
  EXPECT_EQ(list[kSourceOscillate], "Oscillate");
  EXPECT_EQ(list[kSourceVolume], "Volume");
  EXPECT_EQ(list[kSourceRight], "Right");
  EXPECT_EQ(list[kSourceFirstBand], "150Hz");
  EXPECT_EQ(list[kSourceFirstBand + 8], "3.25KHz");
  EXPECT_EQ(list[kSourceLastBand], "18KHz");
}

}  // namespace
}  // namespace fluxo

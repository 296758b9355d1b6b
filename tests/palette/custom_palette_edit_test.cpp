#include "palette/custom_palette_edit.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/system/random.h"

namespace fluxo {
namespace {

using Entries = std::array<PaletteEntry, kPaletteEntries>;

bool operator==(const PaletteEntry& a, const PaletteEntry& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
}

bool Same(const Entries& a, const Entries& b) {
  for (int i = 0; i < kPaletteEntries; ++i)
    if (!(a[i] == b[i])) return false;
  return true;
}

class CustomPaletteEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < kPaletteEntries; ++i)
      entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>((i * 7) & 255), 1};
    ResetEditor(editor, entries.data());
    SeedRandom(99);
  }
  void Select(int from, int to) { SelectRun(editor, from, to); }

  Entries entries;
  CustomPaletteEditor editor;
};

TEST_F(CustomPaletteEditTest, SelectionIsOneRunInEitherOrder) {
  EXPECT_EQ(FirstSelected(editor.selected), 0);
  EXPECT_EQ(LastSelected(editor.selected), 0);
  Select(40, 12);
  EXPECT_EQ(FirstSelected(editor.selected), 12);
  EXPECT_EQ(LastSelected(editor.selected), 40);
  for (int i = 0; i < kPaletteEntries; ++i) EXPECT_EQ(editor.selected[i] != 0, i >= 12 && i <= 40) << i;
  int32_t none[kPaletteEntries] = {};
  EXPECT_EQ(FirstSelected(none), -1);
  EXPECT_EQ(LastSelected(none), -1);
}

TEST_F(CustomPaletteEditTest, GradientBlendsBetweenTheEndsAndNeedsThreeEntries) {
  entries[10] = {0, 100, 200, 1};
  entries[12] = {100, 0, 50, 1};
  Select(10, 12);
  GradientEntries(editor, entries.data());
  EXPECT_TRUE((entries[11] == PaletteEntry{50, 50, 125, 1}));
  EXPECT_TRUE((entries[10] == PaletteEntry{0, 100, 200, 1}));
  EXPECT_TRUE((entries[12] == PaletteEntry{100, 0, 50, 1}));

  const Entries before = entries;
  Select(10, 11);
  GradientEntries(editor, entries.data());
  EXPECT_TRUE(Same(entries, before));
}

TEST_F(CustomPaletteEditTest, GradientSkipsStencilledEntriesAndMaskedChannels) {
  entries[20] = {0, 0, 0, 1};
  entries[24] = {200, 200, 200, 1};
  const PaletteEntry kept = entries[22];
  editor.stencilled[22] = 1;
  editor.maskBlue = 1;
  Select(20, 24);
  const Entries before = entries;
  GradientEntries(editor, entries.data());
  EXPECT_TRUE(entries[22] == kept);
  EXPECT_EQ(entries[21].red, 50);
  EXPECT_EQ(entries[23].green, 150);
  for (int i = 20; i <= 24; ++i) EXPECT_EQ(entries[i].blue, before[i].blue) << i;
}

TEST_F(CustomPaletteEditTest, CopyToStretchesOrThinsTheSourceRun) {
  Select(0, 3);
  BeginCopy(editor, entries.data(), false);
  Select(100, 107);
  ASSERT_TRUE(ApplyPendingCopy(editor, entries.data()));
  for (int k = 0; k < 8; ++k) EXPECT_TRUE(entries[100 + k] == editor.undoEntries[k / 2]) << k;
  EXPECT_FALSE(editor.copyPending);
  EXPECT_FALSE(ApplyPendingCopy(editor, entries.data())) << "a copy runs once";

  SetUp();
  Select(0, 3);
  BeginCopy(editor, entries.data(), false);
  Select(50, 51);
  ApplyPendingCopy(editor, entries.data());
  EXPECT_TRUE(entries[50] == entries[0]);
  EXPECT_TRUE(entries[51] == entries[2]);
}

TEST_F(CustomPaletteEditTest, AStencilledDestinationKeepsItsColourAndTakesNoSource) {
  Select(0, 3);
  BeginCopy(editor, entries.data(), false);
  editor.stencilled[101] = 1;
  const PaletteEntry kept = entries[101];
  Select(100, 103);
  ApplyPendingCopy(editor, entries.data());
  EXPECT_TRUE(entries[101] == kept);
  // The entry after the stencilled one takes the source entry it skipped.
  EXPECT_TRUE(entries[100] == entries[0]);
  EXPECT_TRUE(entries[102] == entries[1]);
  EXPECT_TRUE(entries[103] == entries[2]);
}

TEST_F(CustomPaletteEditTest, MergeToAveragesWithTheSourceOnUnmaskedChannels) {
  entries[0] = {100, 100, 100, 1};
  entries[50] = {201, 0, 50, 1};
  editor.maskGreen = 1;
  Select(0, 0);
  BeginCopy(editor, entries.data(), true);
  EXPECT_TRUE(editor.mergePending && !editor.copyPending);
  Select(50, 50);
  ApplyPendingCopy(editor, entries.data());
  EXPECT_TRUE((entries[50] == PaletteEntry{150, 0, 75, 1}));
}

TEST_F(CustomPaletteEditTest, NegativeWithRedMaskedChangesOnlyGreenAndBlue) {
  editor.maskRed = 1;
  editor.stencilled[31] = 1;
  Select(30, 32);
  const Entries before = entries;
  NegateEntries(editor, entries.data());
  for (int i : {30, 32}) {
    EXPECT_EQ(entries[i].red, before[i].red);
    EXPECT_EQ(entries[i].green, 255 - before[i].green);
    EXPECT_EQ(entries[i].blue, 255 - before[i].blue);
  }
  EXPECT_TRUE(entries[31] == before[31]);
  EXPECT_TRUE(entries[29] == before[29] && entries[33] == before[33]);
}

TEST_F(CustomPaletteEditTest, UndoRestoresAndASecondUndoRedoes) {
  const Entries original = entries;
  Select(5, 60);
  NegateEntries(editor, entries.data());
  const Entries negated = entries;
  SwapUndo(editor, entries.data());
  EXPECT_TRUE(Same(entries, original));
  SwapUndo(editor, entries.data());
  EXPECT_TRUE(Same(entries, negated));
}

TEST_F(CustomPaletteEditTest, RoughenStaysWithinTenAndNeverWraps) {
  for (int i = 0; i < kPaletteEntries; ++i) {
    const uint8_t v = i % 2 ? 255 : 0;
    entries[i] = {v, v, v, 1};
  }
  const Entries start = entries;
  Select(0, kPaletteEntries - 1);
  for (int round = 0; round < 3; ++round) {
    const Entries before = entries;
    RoughenEntries(editor, entries.data());
    for (int i = 0; i < kPaletteEntries; ++i) {
      EXPECT_LE(std::abs(entries[i].red - before[i].red), 10) << i;
      EXPECT_LE(std::abs(entries[i].blue - before[i].blue), 10) << i;
    }
  }
  bool moved = false;
  for (int i = 1; i < kPaletteEntries - 1; ++i) {
    const int limit = start[i].red;
    for (uint8_t c : {entries[i].red, entries[i].green, entries[i].blue}) {
      EXPECT_LE(std::abs(c - limit), 30) << "entry " << i << " wrapped";
      moved = moved || c != limit;
    }
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(entries[0] == start[0] && entries[235] == start[235]) << "the ends are not roughened";
}

TEST_F(CustomPaletteEditTest, ReverseKeepsStencilledPairsAndMaskedChannels) {
  Select(10, 15);
  editor.stencilled[14] = 1;  // pairs 10-15, 11-14, 12-13
  editor.maskGreen = 1;
  const Entries before = entries;
  ReverseEntries(editor, entries.data());
  EXPECT_EQ(entries[10].red, before[15].red);
  EXPECT_EQ(entries[15].blue, before[10].blue);
  EXPECT_EQ(entries[12].red, before[13].red);
  EXPECT_EQ(entries[13].red, before[12].red);
  EXPECT_TRUE(entries[11] == before[11]);
  EXPECT_TRUE(entries[14] == before[14]);
  for (int i = 10; i <= 15; ++i) EXPECT_EQ(entries[i].green, before[i].green) << i;
}

TEST_F(CustomPaletteEditTest, SmoothUsesTheAlreadySmoothedLeftNeighbourAndSparesTheEnds) {
  entries[0] = {0, 0, 0, 1};
  entries[1] = {50, 0, 0, 1};
  entries[2] = {100, 0, 0, 1};
  entries[3] = {0, 0, 0, 1};
  Select(0, 2);
  SmoothEntries(editor, entries.data());
  EXPECT_EQ(entries[0].red, 0);
  EXPECT_EQ(entries[1].red, (150 + 0 + 100) / 5);
  EXPECT_EQ(entries[2].red, (300 + entries[1].red + 0) / 5);
  EXPECT_EQ(entries[3].red, 0);
}

TEST_F(CustomPaletteEditTest, ShiftRotatesChannelsAroundAMaskedOne) {
  entries[7] = {10, 20, 30, 1};
  Select(7, 7);
  ShiftChannels(editor, entries.data());
  EXPECT_TRUE((entries[7] == PaletteEntry{20, 30, 10, 1}));
  editor.maskGreen = 1;
  ShiftChannels(editor, entries.data());
  EXPECT_TRUE((entries[7] == PaletteEntry{30, 30, 20, 1}));
}

TEST_F(CustomPaletteEditTest, RandomWalkTakesSmallStepsAcrossStencilledEntries) {
  editor.stencilled[80] = 1;
  editor.maskBlue = 1;
  Select(60, 120);
  const Entries before = entries;
  RandomWalkEntries(editor, entries.data());
  EXPECT_TRUE(entries[80] == before[80]);
  int previous = 60;
  for (int i = 61; i <= 120; ++i) {
    if (i == 80) continue;  // the walk goes on past it
    EXPECT_LE(std::abs(entries[i].red - entries[previous].red), 7) << i;
    EXPECT_LE(std::abs(entries[i].green - entries[previous].green), 7) << i;
    EXPECT_EQ(entries[i].blue, before[i].blue);
    previous = i;
  }
  EXPECT_TRUE(entries[59] == before[59] && entries[121] == before[121]);
}

TEST_F(CustomPaletteEditTest, SlidersSetOneEntryAndScaleARunFromTheDragStart) {
  editor.maskBlue = 1;
  Select(3, 3);
  SliderMoved(editor, entries.data(), 11, 22, 33);
  EXPECT_TRUE((entries[3] == PaletteEntry{11, 22, static_cast<uint8_t>(21), 1}));
  EndSliderDrag(editor);

  editor.maskBlue = 0;
  entries[40] = {100, 100, 200, 1};
  entries[41] = {100, 100, 200, 1};
  editor.stencilled[41] = 1;
  Select(40, 42);
  BeginSliderDrag(editor, entries.data(), 128, 128, 128);
  SliderMoved(editor, entries.data(), 64, 128, 192);
  EXPECT_TRUE((entries[40] == PaletteEntry{50, 100, 255, 1}));
  SliderMoved(editor, entries.data(), 192, 128, 128);  // from the start, not from the last step
  EXPECT_TRUE((entries[40] == PaletteEntry{150, 100, 200, 1}));
  EXPECT_TRUE((entries[41] == PaletteEntry{100, 100, 200, 1}));
  EndSliderDrag(editor);
  EXPECT_LT(editor.sliderRefRed, 0);
  SwapUndo(editor, entries.data());
  EXPECT_TRUE((entries[40] == PaletteEntry{100, 100, 200, 1})) << "undo goes back to before the drag";
}

TEST_F(CustomPaletteEditTest, AZeroReferenceKeepsTheColour) {
  entries[90] = {100, 80, 60, 1};
  Select(90, 91);
  SliderMoved(editor, entries.data(), 0, 128, 128);  // the first movement begins the drag
  SliderMoved(editor, entries.data(), 200, 64, 128);
  EXPECT_TRUE((entries[90] == PaletteEntry{100, 40, 60, 1}));
}

TEST_F(CustomPaletteEditTest, StencilAndUnStencilMarkTheSelection) {
  Select(5, 8);
  StencilSelected(editor, true);
  Select(7, 9);
  StencilSelected(editor, false);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(editor.stencilled[i] != 0, i == 5 || i == 6) << i;
}

}  // namespace
}  // namespace fluxo

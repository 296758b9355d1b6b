#include <gtest/gtest.h>

#include <cstring>

#include "settings/display_fixture.h"

namespace fluxo {
namespace {

using SequenceItemsTest = test::DisplayTest;

int g_beeps = 0;
void CountBeep() { ++g_beeps; }

SequenceItem Item(const char* name, uint32_t seconds, uint32_t clearFirst) {
  SequenceItem item;
  std::snprintf(item.name, sizeof item.name, "%s", name);
  item.seconds = seconds;
  item.clearFirst = clearFirst;
  return item;
}

TEST_F(SequenceItemsTest, AListRoundTripsThroughTheSequencerKey) {
  SequenceList& list = CurrentSequence();
  list.items = {Item("[D] Bezier", 10, 1), Item("Night Sky", 25, 0), Item("[D] Star", 5, 1)};
  list.orderedPlay = 1;
  ActivateOnly(kModuleSequencer);
  SaveCurrentDisplay("Show");
  const std::string key = ModuleKey("Show", "Sequencer");
  EXPECT_EQ(Number(key, "SeqItems"), 3);
  uint32_t type = 0, size = 4;
  int32_t v;
  ASSERT_EQ(reg::QueryValue(OpenKey(key), "T1", &type, &v, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegDword);
  EXPECT_FALSE(HasValue(key, "Check0")) << "the Sequencer's controls are not stored";

  list = SequenceList{};
  list.currentIndex = 2;
  ASSERT_EQ(LoadDisplay("Show"), 1);
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_STREQ(list.items[1].name, "Night Sky");
  EXPECT_EQ(list.items[1].seconds, 25u);
  EXPECT_EQ(list.items[1].clearFirst, 0u);
  EXPECT_EQ(list.items[2].clearFirst, 1u);
  EXPECT_EQ(list.orderedPlay, 1);
  EXPECT_EQ(list.currentIndex, 0u);
}

TEST_F(SequenceItemsTest, AnEmptyListWritesNothingAndReadingOneBeepsAndKeepsTheOld) {
  SetSequenceBeep(&CountBeep);
  g_beeps = 0;
  ActivateOnly(kModuleSequencer);
  SaveCurrentDisplay("Empty");
  EXPECT_EQ(ValueCount(ModuleKey("Empty", "Sequencer")), 0u);

  CurrentSequence().items = {Item("Kept", 3, 0)};
  ReadSequenceItems(OpenKey(ModuleKey("Empty", "Sequencer")));
  EXPECT_EQ(g_beeps, 1);
  ASSERT_EQ(CurrentSequence().items.size(), 1u);
  EXPECT_STREQ(CurrentSequence().items[0].name, "Kept");
  SetSequenceBeep(nullptr);
}

TEST_F(SequenceItemsTest, NamesThatDoNotFitAreLeftOutAndHugeCountsAreBounded) {
  SetSequenceBeep(&CountBeep);
  g_beeps = 0;
  reg::Key key = MakeKey(ModuleKey("Odd", "Sequencer"));
  WriteNumber(key, "SeqItems", 3, reg::kRegDword);
  WriteText(key, "0", std::string(127, 'a'));
  WriteText(key, "1", std::string(128, 'b'));
  WriteNumber(key, "T1", 9, reg::kRegDword);
  WriteText(key, "2", "Last");
  WriteNumber(key, "T2", 4, reg::kRegDword);
  ReadSequenceItems(key);
  const SequenceList& list = CurrentSequence();
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(std::strlen(list.items[0].name), 127u);
  EXPECT_STREQ(list.items[1].name, "Last");
  EXPECT_EQ(list.items[1].seconds, 4u);

  WriteNumber(key, "SeqItems", -1, reg::kRegDword);
  ReadSequenceItems(key);
  EXPECT_EQ(CurrentSequence().items.size(), kMaxSequenceItems - 1) << "one name is still too long";

  reg::Key only = MakeKey(ModuleKey("OnlyLong", "Sequencer"));
  WriteNumber(only, "SeqItems", 1, reg::kRegDword);
  WriteText(only, "0", std::string(300, 'c'));
  ReadSequenceItems(only);
  EXPECT_EQ(g_beeps, 1) << "nothing usable: as an empty list";
  EXPECT_EQ(CurrentSequence().items.size(), kMaxSequenceItems - 1);
  SetSequenceBeep(nullptr);
}

}  // namespace
}  // namespace fluxo

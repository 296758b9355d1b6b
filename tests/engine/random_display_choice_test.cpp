// Choosing whole displays for random play and sequences, with a loader that
// stands in for the display store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "engine/display_candidates.h"
#include "platform/system/random.h"

namespace fluxo::test {
namespace {

class DisplayChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { SeedRandom(4242); }

  DisplayLoader Loader() {
    return {[this](const std::string& name) {
              loads.push_back(name);
              return cannotRun.count(name) == 0;
            },
            [this] {
              ++probes;
              return soundReactive.count(loads.back()) != 0;
            }};
  }
  static std::vector<DisplayCandidate> Candidates(std::initializer_list<const char*> names) {
    std::vector<DisplayCandidate> list;
    for (const char* name : names) list.push_back({.name = name});
    return list;
  }
  std::string Choose(std::vector<DisplayCandidate>& list, ChoiceMode mode, bool ordered = false) {
    DisplayCandidate* chosen = ChooseDisplay(list, mode, ordered, counter, Loader());
    return chosen ? chosen->name : std::string("(none)");
  }

  std::vector<std::string> loads;
  std::set<std::string> soundReactive;
  std::set<std::string> cannotRun;
  int probes = 0;
  uint32_t counter = 0;
};

TEST_F(DisplayChoiceTest, OrderedPlayGoesThroughTheListAndStartsOverWithOneLoadEach) {
  auto list = Candidates({"one", "two", "three"});
  std::vector<std::string> played;
  for (int n = 0; n < 7; ++n) played.push_back(Choose(list, ChoiceMode::Sequence, /*ordered=*/true));
  EXPECT_EQ(played, (std::vector<std::string>{"one", "two", "three", "one", "two", "three", "one"}));
  EXPECT_EQ(loads, played);
  EXPECT_EQ(counter, 7u);
}

TEST_F(DisplayChoiceTest, AnySavedDisplayLoadsOnceAndReachesEveryEntry) {
  auto list = Candidates({"a", "b", "c", "d"});
  std::set<std::string> seen;
  for (int n = 0; n < 100; ++n) {
    loads.clear();
    seen.insert(Choose(list, ChoiceMode::AnySaved));
    ASSERT_EQ(loads.size(), 1u);
  }
  EXPECT_EQ(seen, (std::set<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(probes, 4) << "each display is probed on its first load only";
}

TEST_F(DisplayChoiceTest, SoundReactiveChoiceEndsOnlyOnADisplayThatFollowsSound) {
  auto list = Candidates({"quiet", "loud", "calm", "still"});
  soundReactive = {"loud"};
  for (int n = 0; n < 50; ++n) ASSERT_EQ(Choose(list, ChoiceMode::SoundReactive), "loud");
  EXPECT_EQ(probes, 4);
  for (const DisplayCandidate& entry : list) {
    EXPECT_TRUE(entry.probed);
    EXPECT_EQ(entry.reactsToSound, entry.name == "loud");
  }

  auto quiet = Candidates({"quiet", "calm"});
  loads.clear();
  const std::string chosen = Choose(quiet, ChoiceMode::SoundReactive);
  ASSERT_EQ(loads.size(), 50u);
  EXPECT_EQ(chosen, loads.back()) << "the last load stays";
}

TEST_F(DisplayChoiceTest, DisplaysWithNothingToRunAreSkippedInEveryMode) {
  auto list = Candidates({"one", "missing", "two", "plug-in gone"});
  cannotRun = {"missing", "plug-in gone"};
  soundReactive = {"one", "missing", "two", "plug-in gone"};
  std::vector<std::string> played;
  for (int n = 0; n < 4; ++n) played.push_back(Choose(list, ChoiceMode::Sequence, /*ordered=*/true));
  EXPECT_EQ(played, (std::vector<std::string>{"one", "two", "one", "two"}));
  for (ChoiceMode mode : {ChoiceMode::AnySaved, ChoiceMode::SoundReactive})
    for (int n = 0; n < 50; ++n) ASSERT_FALSE(cannotRun.count(Choose(list, mode)));

  auto nothing = Candidates({"missing"});
  loads.clear();
  EXPECT_EQ(Choose(nothing, ChoiceMode::AnySaved), "missing") << "the last load stays";
  EXPECT_EQ(loads.size(), 50u);
}

TEST_F(DisplayChoiceTest, AnEmptyListLoadsNothing) {
  std::vector<DisplayCandidate> list;
  EXPECT_EQ(Choose(list, ChoiceMode::AnySaved), "(none)");
  EXPECT_EQ(Choose(list, ChoiceMode::Sequence, true), "(none)");
  EXPECT_TRUE(loads.empty());
  EXPECT_EQ(counter, 0u);
}

TEST_F(DisplayChoiceTest, SequenceEntriesKeepTheirOwnTimesAndLongNamesStayWithinTheItem) {
  SequenceList sequence;
  sequence.items.resize(2);
  std::snprintf(sequence.items[0].name, sizeof sequence.items[0].name, "%s", "first");
  sequence.items[0].seconds = 3;
  sequence.items[0].clearFirst = 1;
  std::fill(std::begin(sequence.items[1].name), std::end(sequence.items[1].name), 'x');  // no terminator
  sequence.items[1].seconds = 9;
  const std::vector<DisplayCandidate> list = SequenceCandidates(sequence);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "first");
  EXPECT_EQ(list[0].playSeconds, 3u);
  EXPECT_EQ(list[0].clearFirst, 1u);
  EXPECT_EQ(list[1].name, std::string(128, 'x'));
  EXPECT_EQ(list[1].playSeconds, 9u);
  EXPECT_FALSE(list[1].probed);
}

}  // namespace
}  // namespace fluxo::test

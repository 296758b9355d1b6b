// Random play against the real display store: the candidate lists, the sound
// probe, and a whole saver run of a sequence display.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/display_candidates.h"
#include "engine/headless_window.h"
#include "engine/module_registry.h"
#include "engine/random_module.h"
#include "engine/render_thread.h"
#include "platform/registry/registry.h"
#include "platform/system/saver_state.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

using namespace std::chrono_literals;

struct Clock {
  static inline std::atomic<uint32_t> now{900000};
  static uint32_t Read() { return now.load(); }
};

template <typename Predicate>
bool WaitFor(Predicate predicate, std::chrono::milliseconds limit = 10000ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

std::string SavedPath(const std::string& display) {
  return std::string("Control Panel\\") + kRootName + "\\Saved\\" + display;
}

reg::Key CreateModuleKey(const std::string& display, const char* module) {
  reg::Key key;
  EXPECT_EQ(reg::CreateKey(reg::Hive::CurrentUser, SavedPath(display) + "\\Modules\\" + module, key), reg::kSuccess);
  return key;
}

void StoreDword(const reg::Key& key, const std::string& name, uint32_t value) {
  ASSERT_EQ(reg::SetValue(key, name, reg::kRegDword, &value, 4), reg::kSuccess);
}

void StoreText(const reg::Key& key, const std::string& name, const std::string& text) {
  ASSERT_EQ(reg::SetValue(key, name, reg::kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1)), reg::kSuccess);
}

struct Item {
  std::string display;
  uint32_t seconds;
};

void StoreSequence(const std::string& display, const std::vector<Item>& items, bool ordered) {
  reg::Key key = CreateModuleKey(display, "Sequencer");
  StoreDword(key, "SeqItems", static_cast<uint32_t>(items.size()));
  StoreDword(key, "OrderedPlay", ordered ? 1 : 0);
  for (size_t i = 0; i < items.size(); ++i) {
    StoreText(key, std::to_string(i), items[i].display);
    StoreDword(key, "T" + std::to_string(i), items[i].seconds);
    StoreDword(key, "C" + std::to_string(i), 1);
  }
}

void MakeActive(const std::string& display) {
  reg::Key root;
  ASSERT_EQ(reg::CreateKey(reg::Hive::CurrentUser, std::string("Control Panel\\") + kRootName, root), reg::kSuccess);
  StoreText(root, "Active", display);
}

bool HasName(const std::vector<DisplayCandidate>& list, const std::string& name) {
  for (const DisplayCandidate& entry : list)
    if (entry.name == name) return true;
  return false;
}

class RandomStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    ResetMainSettings();
    ResetRandomModule();
    Overrides().soloModule = -1;
    // The block outlives earlier tests: no request of theirs may restart this run.
    SoundFeedBlock* feed = OpenSoundFeed();
    ASSERT_NE(feed, nullptr);
    feed->SetU32(feed::kRestartRequest, 0);
    feed->SetU32(feed::kCaptureRequest, 0);
    CloseSoundFeed(feed);
  }
  void TearDown() override { SetTickSourceForTesting(nullptr); }
};

TEST_F(RandomStoreTest, CandidatesLeaveOutDisplaysWithRandomOrSequencer) {
  CreateModuleKey("Plain", "Bezier");
  CreateModuleKey("Random inside", "Bezier");
  CreateModuleKey("Random inside", "Random");
  StoreSequence("A sequence", {{"Plain", 1}}, true);
  const std::vector<DisplayCandidate> saved = SavedDisplayCandidates();
  EXPECT_TRUE(HasName(saved, "Plain"));
  EXPECT_FALSE(HasName(saved, "Random inside"));
  EXPECT_FALSE(HasName(saved, "A sequence"));

  SequenceList sequence;
  for (const char* name : {"Plain", "Random inside", "A sequence", "Plain"}) {
    SequenceItem item;
    std::snprintf(item.name, sizeof item.name, "%s", name);
    item.seconds = 2;
    sequence.items.push_back(item);
  }
  const std::vector<DisplayCandidate> items = SequenceCandidates(sequence);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].name, "Plain");
  EXPECT_EQ(items[1].name, "Plain");
}

TEST_F(RandomStoreTest, WithoutTheCompanionEveryLoadedDisplayCountsAsFollowingSound) {
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr);
  feed->SetU32(feed::kCompanionActive, 0);
  CreateModuleKey("Probe me", "Bezier");
  std::vector<DisplayCandidate> list{{.name = "Probe me"}};
  uint32_t counter = 0;
  const DisplayCandidate* chosen = ChooseDisplay(list, ChoiceMode::SoundReactive, false, counter, StoreDisplayLoader());
  ASSERT_NE(chosen, nullptr);
  EXPECT_TRUE(chosen->probed);
  EXPECT_TRUE(chosen->reactsToSound);
  EXPECT_EQ(feed->Text(feed::kDisplayName, 128), "Probe me");
  CloseSoundFeed(feed);
}

// A sequence display plays as a Random run: its items in list order, each
// until its own seconds have passed.
TEST_F(RandomStoreTest, SequenceInOrderPlaysEachItemForItsOwnSeconds) {
  for (const char* display : {"Seq one", "Seq two", "Seq three"}) CreateModuleKey(display, "Bezier");
  StoreSequence("Three in order", {{"Seq one", 2}, {"Seq two", 5}, {"Seq three", 3}}, /*ordered=*/true);
  MakeActive("Three in order");
  Clock::now = 900000;
  SetTickSourceForTesting(&Clock::Read);

  HeadlessWindow window(64, 48, {"fluxo", "/s"});
  ASSERT_TRUE(window.Open());
  auto playing = [] { return SoundFeed() ? SoundFeed()->Text(feed::kDisplayName, 128) : std::string(); };
  auto passes = [](uint32_t n) {
    const uint32_t start = Saver().frameCounter.load();
    return WaitFor([&] { return Saver().frameCounter.load() >= start + n; });
  };

  const std::vector<Item> expected{{"Seq one", 2}, {"Seq two", 5}, {"Seq three", 3}, {"Seq one", 2}};
  for (const Item& item : expected) {
    SCOPED_TRACE(item.display);
    ASSERT_TRUE(WaitFor([&] { return playing() == item.display; })) << "playing " << playing();
    ASSERT_TRUE(passes(2));  // the name is set as loading begins: let the switch finish
    EXPECT_TRUE(IsActive(kModuleRandom));
    EXPECT_FALSE(IsActive(kModuleSequencer));
    Clock::now += item.seconds * 1000;  // exactly the item's time: not over yet
    ASSERT_TRUE(passes(3));
    EXPECT_EQ(playing(), item.display);
    EXPECT_TRUE(IsActive(kModuleBezier));
    Clock::now += 1;
  }
  window.Close();
}

}  // namespace
}  // namespace fluxo::test

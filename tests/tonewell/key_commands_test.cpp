#include "tonewell/key_commands.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/system/folders.h"

namespace fluxo::tonewell {
namespace {

class RecordingPlayer : public PlayerControl {
 public:
  void Next() override { calls.push_back("next"); }
  void Previous() override { calls.push_back("previous"); }
  void ChangeVolume(double delta) override { calls.push_back("volume " + std::to_string(delta).substr(0, 5)); }
  void SeekToFraction(double fraction) override { calls.push_back("seek " + std::to_string(fraction).substr(0, 3)); }
  std::vector<std::string> calls;
};

class KeyCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shm_unlink(SharedMemoryName().c_str());
    block_ = AttachSoundFeed();
    ASSERT_NE(block_, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    CloseSoundFeed(block_);
    shm_unlink(SharedMemoryName().c_str());
  }
  // The saver's arrow keys.
  void Press(size_t counter, int32_t by) { block_->AddI32(counter, by); }

  SoundFeedBlock* block_ = nullptr;
  RecordingPlayer player_;
};

using Calls = std::vector<std::string>;

TEST_F(KeyCommandsTest, KeysPressedBeforeTheStartAreNotReplayed) {
  Press(feed::kHorizontalStep, 7);
  Press(feed::kVerticalStep, -3);
  block_->SetU16(feed::kDigitKey, 4);
  KeyCommands keys(*block_);
  keys.Poll(player_);
  EXPECT_EQ(player_.calls, Calls{});
}

TEST_F(KeyCommandsTest, ArrowsSkipTracksAndChangeTheVolume) {
  KeyCommands keys(*block_);
  Press(feed::kHorizontalStep, 1);
  keys.Poll(player_);
  Press(feed::kHorizontalStep, -1);
  Press(feed::kHorizontalStep, -1);
  keys.Poll(player_);
  Press(feed::kVerticalStep, 1);
  Press(feed::kVerticalStep, 1);
  keys.Poll(player_);
  Press(feed::kVerticalStep, -1);
  keys.Poll(player_);
  keys.Poll(player_);
  EXPECT_EQ(player_.calls, (Calls{"next", "previous", "previous", "volume 0.100", "volume -0.05"}));
}

TEST_F(KeyCommandsTest, CountersWrapAndBigJumpsAreBounded) {
  block_->SetI32(feed::kHorizontalStep, INT32_MAX);
  KeyCommands keys(*block_);
  block_->SetI32(feed::kHorizontalStep, INT32_MIN);  // one press past the top wraps: still one step forward
  keys.Poll(player_);
  EXPECT_EQ(player_.calls, Calls{"next"});
  player_.calls.clear();
  Press(feed::kHorizontalStep, 1000);
  keys.Poll(player_);
  EXPECT_EQ(player_.calls, Calls(kMaxStepsPerPoll, "next"));
}

TEST_F(KeyCommandsTest, EachDigitPressSeeksEvenTheSameDigitTwice) {
  KeyCommands keys(*block_);
  EXPECT_EQ(block_->U16(feed::kDigitKey), kDigitServed);
  block_->SetU16(feed::kDigitKey, 5);
  keys.Poll(player_);
  EXPECT_EQ(block_->U16(feed::kDigitKey), kDigitServed);
  keys.Poll(player_);
  block_->SetU16(feed::kDigitKey, 5);
  keys.Poll(player_);
  block_->SetU16(feed::kDigitKey, 0);
  keys.Poll(player_);
  EXPECT_EQ(player_.calls, (Calls{"seek 0.5", "seek 0.5", "seek 0.0"}));
}

}  // namespace
}  // namespace fluxo::tonewell

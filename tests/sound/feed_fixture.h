#pragma once
#include <gtest/gtest.h>
#include <sys/mman.h>

#include "platform/system/folders.h"
#include "sound/sound_feed.h"

namespace fluxo::test {

// Attaches the process to a fresh sound block of its own and removes the
// block afterwards, so every test starts from a zero-filled feed.
class FeedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shm_unlink(SharedMemoryName().c_str());
    ResetGainTrackers();
    feed_ = OpenSoundFeed();
    ASSERT_NE(feed_, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    CloseSoundFeed(feed_);
    shm_unlink(SharedMemoryName().c_str());
    ResetGainTrackers();
  }

  // Publishes channel levels for fixed scaling (automatic gain off).
  void PublishFixed(float left, float right, float scale) {
    feed_->SetU32(feed::kAutoGain, 0);
    feed_->SetF32(feed::kLeftLevel, left);
    feed_->SetF32(feed::kRightLevel, right);
    feed_->SetF32(feed::kLevelScale, scale);
  }
  void PublishBand(int band, float left, float right) {
    feed_->SetF32(feed::kLeftBands + 4 * band, left);
    feed_->SetF32(feed::kRightBands + 4 * band, right);
  }
  void SetCompanion(bool active, bool moduleSync, bool paletteSync) {
    feed_->SetU32(feed::kCompanionActive, active);
    feed_->SetU32(feed::kModuleSync, moduleSync);
    feed_->SetU32(feed::kPaletteSync, paletteSync);
  }

  SoundFeedBlock* feed_ = nullptr;
};

}  // namespace fluxo::test

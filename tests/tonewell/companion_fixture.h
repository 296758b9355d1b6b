#pragma once
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/system/folders.h"
#include "sound/sound_feed.h"
#include "tonewell/companion.h"
#include "tonewell/feed_publisher.h"
#include "tonewell/tonewell_support.h"

namespace fluxo::test {

// A fresh block attached as the saver would, and a companion running in this
// process whose messages the test can read.
class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shm_unlink(SharedMemoryName().c_str());
    saver_ = OpenSoundFeed();
    ASSERT_NE(saver_, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    companion_.reset();
    CloseSoundFeed(saver_);
    shm_unlink(SharedMemoryName().c_str());
  }

  void StartCompanion(tonewell::CompanionOptions options) {
    companion_ = std::make_unique<tonewell::Companion>(std::move(options), [this](const std::string& text) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(text);
    });
    std::string error;
    ASSERT_TRUE(companion_->Start(&error)) << error;
  }
  size_t TimesSaid(const std::string& part) {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t times = 0;
    for (const std::string& message : messages_) times += message.find(part) != std::string::npos;
    return times;
  }
  bool Said(const std::string& part) { return TimesSaid(part) > 0; }
  std::string Messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string all;
    for (const std::string& message : messages_) all += message + "\n";
    return all;
  }

  bool Active() const { return saver_->U32(feed::kCompanionActive) != 0; }
  tonewell::Levels Levels() const { return tonewell::ReadLevels(*saver_); }
  // The band of the left or right channel that reads highest.
  static size_t LoudestBand(const tonewell::ChannelLevels& channel) {
    size_t loudest = 0;
    for (size_t band = 1; band < tonewell::kBandCount; ++band)
      if (channel.bands[band] > channel.bands[loudest]) loudest = band;
    return loudest;
  }
  // The loudest band stands clearly above all others.
  static bool Dominates(const tonewell::ChannelLevels& channel, size_t band) {
    if (LoudestBand(channel) != band || channel.bands[band] <= 0.05f) return false;
    for (size_t other = 0; other < tonewell::kBandCount; ++other)
      if (other != band && channel.bands[other] > 0.2f * channel.bands[band]) return false;
    return true;
  }

  SoundFeedBlock* saver_ = nullptr;
  std::unique_ptr<tonewell::Companion> companion_;
  std::mutex mutex_;
  std::vector<std::string> messages_;
};

}  // namespace fluxo::test
